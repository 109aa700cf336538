// Encoding and decoding galaxy codes. Nothing here depends on the machine: varints, zigzag
// and the bit order are spelled out byte by byte, so a code means the same galaxy everywhere.
#include "galaxy/galaxy_code.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace
{
const char PREFIX[] = "GX";
const char SYMBOLS[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ"; // Crockford's base32: no I, L, O, U

// The varints a code of each version carries: the seed and eight values, then the density,
// then the second model's six fields.
constexpr int VersionWords(int version)
{
    return version == 1 ? 9 : (version == 2 ? 10 : 16);
}
// Five bytes a varint at the most, and the two check bytes.
constexpr int MaxBytes(int version)
{
    return VersionWords(version) * 5 + 2;
}
constexpr int MaxSymbols(int version)
{
    return (MaxBytes(version) * 8 + 4) / 5;
}
constexpr int MAX_BYTES = MaxBytes(GALAXY_CODE_VERSION);
static_assert(4 + MaxSymbols(GALAXY_CODE_VERSION) == GALAXY_CODE_MAX_CHARS, "the longest code must fit its text");

const char *const WHY_NOT_A_CODE = "not a galaxy code";
const char *const WHY_VERSION = "unknown code version";
const char *const WHY_SYMBOL = "the code holds a character that no galaxy code has";
const char *const WHY_TOO_LONG = "the code is too long";
const char *const WHY_SHORT = "the code is cut short";
const char *const WHY_CHECK = "the code's check does not match (mistyped?)";
const char *const WHY_CONTENT = "the code holds values no galaxy code can";

// The fields in the order they travel; the seed goes first, unsigned.
int32_t GALAXY_SHAPE_T::*const VALUES[8] = {
    &GALAXY_SHAPE_T::size_xz,    &GALAXY_SHAPE_T::size_y,        &GALAXY_SHAPE_T::inner_radius,
    &GALAXY_SHAPE_T::bulge_size, &GALAXY_SHAPE_T::bulge_offset0, &GALAXY_SHAPE_T::bulge_offset1,
    &GALAXY_SHAPE_T::arms,       &GALAXY_SHAPE_T::curvature,
};
// Version 3's fields after the density, in the order they travel.
int32_t GALAXY_SHAPE_T::*const MODEL_VALUES[6] = {
    &GALAXY_SHAPE_T::model,      &GALAXY_SHAPE_T::pitch,     &GALAXY_SHAPE_T::bulge_share,
    &GALAXY_SHAPE_T::bar_length, &GALAXY_SHAPE_T::arm_width, &GALAXY_SHAPE_T::arm_contrast,
};

// CRC-16/CCITT-FALSE: polynomial 0x1021, start 0xFFFF, most significant bit first. It finds
// every error burst up to 16 bits long, and one wrong symbol spoils at most 5 adjacent bits.
uint16_t Crc16(const uint8_t *bytes, int count)
{
    uint16_t crc = 0xFFFFu;
    for (int i = 0; i < count; i++)
    {
        crc = (uint16_t)(crc ^ (bytes[i] << 8));
        for (int bit = 0; bit < 8; bit++)
            crc = (uint16_t)((crc & 0x8000u) ? (crc << 1) ^ 0x1021u : crc << 1);
    }
    return crc;
}

// Small magnitudes of either sign stay small: 0, -1, 1, -2 ... become 0, 1, 2, 3 ...
uint32_t Zigzag(int32_t value)
{
    return value < 0 ? ~((uint32_t)value << 1) : (uint32_t)value << 1;
}

int32_t Unzigzag(uint32_t word)
{
    const int64_t magnitude = (int64_t)(word >> 1);
    return (int32_t)((word & 1u) ? -magnitude - 1 : magnitude);
}

int PutVarint(uint32_t word, uint8_t *out)
{
    int count = 0;
    while (word >= 0x80u)
    {
        out[count++] = (uint8_t)(word | 0x80u);
        word >>= 7;
    }
    out[count++] = (uint8_t)word;
    return count;
}

enum VARINT_RESULT_T
{
    VARINT_OK,
    VARINT_RAN_OUT,
    VARINT_INVALID, // wider than 32 bits, or a longer spelling than the encoder writes
};

VARINT_RESULT_T GetVarint(const uint8_t *bytes, int count, int *at, uint32_t *word)
{
    uint32_t value = 0;
    for (int shift = 0; shift < 35; shift += 7)
    {
        if (*at >= count) return VARINT_RAN_OUT;
        const uint8_t byte = bytes[(*at)++];
        if (shift == 28 && byte > 0x0Fu) return VARINT_INVALID;
        value |= (uint32_t)(byte & 0x7Fu) << shift;
        if (!(byte & 0x80u))
        {
            // One galaxy, one code: a zero last byte would be a second spelling.
            if (byte == 0 && shift > 0) return VARINT_INVALID;
            *word = value;
            return VARINT_OK;
        }
    }
    return VARINT_INVALID;
}

int SymbolValue(char c)
{
    if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    if (c == 'O') return 0;
    if (c == 'I' || c == 'L') return 1;
    for (int v = 0; v < 32; v++)
        if (SYMBOLS[v] == c) return v;
    return -1;
}

bool IsSpacing(char c)
{
    return c == '-' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads "GX<version>-" and returns where the body starts, or null with *why set.
const char *SkipPrefix(const char *text, int *version_out, const char **why)
{
    while (*text == ' ' || *text == '\t' || *text == '\r' || *text == '\n')
        text++;
    for (int i = 0; PREFIX[i]; i++)
    {
        if (text[i] != PREFIX[i] && text[i] != PREFIX[i] - 'A' + 'a')
        {
            *why = WHY_NOT_A_CODE;
            return nullptr;
        }
    }
    text += sizeof PREFIX - 1;
    const char *digits = text;
    int version = 0;
    while (*text >= '0' && *text <= '9' && text - digits < 4)
        version = version * 10 + (*text++ - '0');
    if (text == digits || *text != '-')
    {
        *why = WHY_NOT_A_CODE;
        return nullptr;
    }
    // "01" is not how any version is written, so it is not read as 1.
    if (version < 1 || version > GALAXY_CODE_VERSION || *digits == '0')
    {
        *why = WHY_VERSION;
        return nullptr;
    }
    *version_out = version;
    return text + 1;
}

// The body's symbols as bytes, most significant bit first; returns why it cannot be read,
// or null. *padding_clean is false when the bits past the last whole byte are not the zeros
// the encoder writes, or there are five or more of them (a symbol too many or too few).
const char *ReadBody(const char *body, int max_symbols, uint8_t *bytes, int *count, bool *padding_clean)
{
    uint32_t bits = 0;
    int held = 0;
    int symbols = 0;
    *count = 0;
    for (const char *c = body; *c; c++)
    {
        if (IsSpacing(*c)) continue;
        const int value = SymbolValue(*c);
        if (value < 0) return WHY_SYMBOL;
        if (++symbols > max_symbols) return WHY_TOO_LONG;
        bits = (bits << 5) | (uint32_t)value;
        held += 5;
        if (held >= 8)
        {
            held -= 8;
            bytes[(*count)++] = (uint8_t)(bits >> held);
            bits &= (1u << held) - 1u;
        }
    }
    *padding_clean = held < 5 && bits == 0;
    return nullptr;
}
} // namespace

GALAXY_CODE_TEXT_T EncodeGalaxyCode(const GALAXY_SHAPE_T &shape)
{
    // Density 1 is what version 1 implies, so those galaxies keep the codes they always had;
    // only the second model needs version 3.
    const int version = shape.model != 0 ? 3 : (shape.density == 1) ? 1 : 2;
    uint8_t bytes[MAX_BYTES] = {};
    int count = PutVarint(shape.seed, bytes);
    for (int32_t GALAXY_SHAPE_T::*field : VALUES)
        count += PutVarint(Zigzag(shape.*field), bytes + count);
    if (version >= 2) count += PutVarint(Zigzag(shape.density), bytes + count);
    if (version == 3)
        for (int32_t GALAXY_SHAPE_T::*field : MODEL_VALUES)
            count += PutVarint(Zigzag(shape.*field), bytes + count);
    const uint16_t crc = Crc16(bytes, count);
    bytes[count++] = (uint8_t)(crc >> 8);
    bytes[count++] = (uint8_t)crc;

    GALAXY_CODE_TEXT_T code = {};
    int length = 0;
    for (const char *p = PREFIX; *p; p++)
        code.text[length++] = *p;
    code.text[length++] = (char)('0' + version);
    code.text[length++] = '-';
    uint32_t bits = 0;
    int held = 0;
    for (int i = 0; i < count; i++)
    {
        bits = (bits << 8) | bytes[i];
        held += 8;
        while (held >= 5)
        {
            held -= 5;
            code.text[length++] = SYMBOLS[(bits >> held) & 31u];
        }
        bits &= (1u << held) - 1u;
    }
    if (held > 0) code.text[length++] = SYMBOLS[(bits << (5 - held)) & 31u];
    code.text[length] = '\0';
    return code;
}

bool DecodeGalaxyCode(const char *text, GALAXY_SHAPE_T *shape, const char **why)
{
    const char *ignored = nullptr;
    if (!why) why = &ignored;
    *why = WHY_NOT_A_CODE;
    if (!text || !shape) return false;
    int version = 0;
    const char *body = SkipPrefix(text, &version, why);
    if (!body) return false;

    uint8_t bytes[MAX_BYTES] = {};
    int count = 0;
    bool padding_clean = false;
    if ((*why = ReadBody(body, MaxSymbols(version), bytes, &count, &padding_clean)) != nullptr) return false;

    // The varints end themselves, so a cut shows as running out before the check bytes even
    // where the check could not tell it from a mistyping.
    GALAXY_SHAPE_T decoded;
    const int word_count = VersionWords(version);
    uint32_t words[16] = {};
    int at = 0;
    VARINT_RESULT_T result = VARINT_OK;
    for (int i = 0; i < word_count && result == VARINT_OK; i++)
        result = GetVarint(bytes, count, &at, &words[i]);
    if (result == VARINT_RAN_OUT || (result == VARINT_OK && count - at < 2))
    {
        *why = WHY_SHORT;
        return false;
    }
    const uint16_t crc = count >= 2 ? Crc16(bytes, count - 2) : 0;
    if (!padding_clean || count < 3 || bytes[count - 2] != (uint8_t)(crc >> 8) ||
        bytes[count - 1] != (uint8_t)crc)
    {
        *why = WHY_CHECK;
        return false;
    }
    // One galaxy, one code: density 1 is written as version 1 only, the classic model never
    // as version 3.
    if (result != VARINT_OK || (version == 2 && Unzigzag(words[9]) == 1) || (version == 3 && words[10] == 0))
    {
        *why = WHY_CONTENT;
        return false;
    }
    // A later version appends fields; a code that carries more than its version's is not one.
    if (at != count - 2)
    {
        *why = WHY_TOO_LONG;
        return false;
    }
    decoded.seed = words[0];
    for (int i = 0; i < 8; i++)
        decoded.*VALUES[i] = Unzigzag(words[i + 1]);
    decoded.density = (version >= 2) ? Unzigzag(words[9]) : 1;
    if (version == 3)
        for (int i = 0; i < 6; i++)
            decoded.*MODEL_VALUES[i] = Unzigzag(words[i + 10]);
    *shape = decoded;
    *why = nullptr;
    return true;
}

std::string EncodeStarLink(const GALAXY_SHAPE_T &shape, uint64_t star)
{
    return std::string(EncodeGalaxyCode(shape).text) + "#" + std::to_string(star);
}

bool DecodeStarLink(const char *text, GALAXY_SHAPE_T *shape, bool *has_star, uint64_t *star, const char **why)
{
    const char *hash = std::strchr(text, '#');
    if (hash == nullptr)
    {
        if (!DecodeGalaxyCode(text, shape, why)) return false;
        *has_star = false;
        return true;
    }
    // Star numbers never reach 2^32: a galaxy holds at most a few million stars.
    const char *at = hash + 1;
    while (*at == ' ' || *at == '\t') at++;
    uint64_t number = 0;
    int digits = 0;
    for (; *at >= '0' && *at <= '9'; at++, digits++)
        if (digits < 10) number = number * 10u + (uint64_t)(*at - '0');
    while (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n') at++;
    if (digits == 0 || *at != '\0' || digits > 10 || number > UINT32_MAX)
    {
        if (why != nullptr) *why = "the link's star number (after #) is not a number of a star";
        return false;
    }
    const std::string code(text, (size_t)(hash - text));
    GALAXY_SHAPE_T decoded;
    if (!DecodeGalaxyCode(code.c_str(), &decoded, why)) return false;
    *shape = decoded;
    *star = number;
    *has_star = true;
    return true;
}
