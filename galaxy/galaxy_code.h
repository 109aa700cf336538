// The galaxy code: a short text that carries a galaxy's seed, eight values and star density,
// so that anyone can type it in and get the same stars. A format version and a check make a
// mistyped or foreign code be refused instead of quietly giving another galaxy.
//
//   GX1-<body>   the body is Crockford base32 of the payload followed by a CRC-16 of it;
//                the payload is nine varints: the seed, then the eight values (zigzag) in
//                the record's field order. Density 1 is implied.
//   GX2-<body>   the same with a tenth varint, the density (zigzag), before the check. Only
//                a density other than 1 is written so: a density-1 galaxy keeps the version 1
//                code it always had, and a version 2 code of density 1 is refused as a
//                second spelling.
//   GX3-<body>   a galaxy of the second model (a Hubble type): the ten varints of version 2
//                (the density always written), then six more (zigzag): model, pitch, bulge
//                share, bar length, arm width and arm contrast. Only a model other than the
//                classic one is written so. The README's "Galaxy codes" section has every detail.
#pragma once

#include <cstdint>
#include <string>

#include "galaxy/galaxy_shape.h"

// "GX3-" and 132 symbols: the longest payload (a 5-byte seed, fifteen 5-byte values) with
// its check. Typical shapes give 25 to 35 characters, Hubble types about 40.
constexpr int GALAXY_CODE_MAX_CHARS = 136;
// The newest version this build writes and reads; it reads every older one too.
constexpr int GALAXY_CODE_VERSION = 3;

struct GALAXY_CODE_TEXT_T
{
    char text[GALAXY_CODE_MAX_CHARS + 1];
};

// Always the same text for the same shape: upper case, no spaces, one hyphen.
GALAXY_CODE_TEXT_T EncodeGalaxyCode(const GALAXY_SHAPE_T &shape);

// Accepts lower case, O for 0, I and L for 1, and hyphens or white space anywhere after the
// prefix. On failure returns false, leaves *shape as it was and points *why (when why is not
// null) at a short sentence for the user. Any text, however long or broken, is safe to pass.
bool DecodeGalaxyCode(const char *text, GALAXY_SHAPE_T *shape, const char **why);

// A star link names one star of a galaxy: its code, '#' and the star's number in decimal, as
// in "GX1-SQ687PGBZR1R0080C0MA008J2GZF2#42".
std::string EncodeStarLink(const GALAXY_SHAPE_T &shape, uint64_t star);

// Reads a galaxy code with or without "#<star>" (white space may stand around the number).
// *has_star tells whether a star was named, and *star is its number. On failure returns false,
// leaves *shape and *star as they were and points *why at a short sentence. Whether the star
// exists is for whoever holds the galaxy to tell.
bool DecodeStarLink(const char *text, GALAXY_SHAPE_T *shape, bool *has_star, uint64_t *star, const char **why);
