// Reading and writing the saved galaxies. Reading never gives up on the whole file: each
// line stands alone, so one bad line costs that line only, and even that is kept for writing.
#include "files/saved_galaxies.h"

#include <sys/stat.h>

#include "files/atomic_write.h"
#include "files/user_folders.h"
#include "galaxy/galaxy_code.h"

namespace
{
const std::string HEADER = "galaxy_viewer saved galaxies ";
const std::string BOOKMARK = "bookmark\t";

// Tabs and line ends would break the line format; other control characters would garble
// the screen. A cut inside a UTF-8 character would leave half a character.
std::string CleanText(const std::string &text, size_t max_bytes)
{
    std::string clean = text;
    for (char &c : clean)
        if ((unsigned char)c < 0x20 || c == 0x7F) c = ' ';
    if (clean.size() > max_bytes)
    {
        size_t cut = max_bytes;
        while (cut > 0 && ((unsigned char)clean[cut] & 0xC0u) == 0x80u)
            cut--;
        clean.resize(cut);
    }
    return clean;
}

// The version number of a header line, or 0 when the line is not one.
int HeaderVersion(const std::string &line)
{
    if (line.compare(0, HEADER.size(), HEADER) != 0) return 0;
    const std::string number = line.substr(HEADER.size());
    if (number.empty() || number.size() > 9 || number[0] == '0') return 0;
    for (char c : number)
        if (c < '0' || c > '9') return 0;
    return std::stoi(number);
}

bool ParseEntry(const std::string &line, SAVED_GALAXY_T *entry)
{
    const size_t first = line.find('\t');
    const size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
    if (second == std::string::npos || line.find('\t', second + 1) != std::string::npos) return false;
    const std::string code = line.substr(0, first);
    if (!DecodeGalaxyCode(code.c_str(), &entry->shape, nullptr)) return false;
    entry->code = EncodeGalaxyCode(entry->shape).text;
    entry->date = line.substr(first + 1, second - first - 1);
    entry->name = CleanText(line.substr(second + 1), SAVED_GALAXY_NAME_MAX_BYTES);
    return true;
}

// "bookmark", a star link and a note: three fields like an entry's, so an older reader, which
// cannot decode "bookmark" as a code, keeps the line as it stands.
bool ParseBookmark(const std::string &line, SAVED_BOOKMARK_T *mark)
{
    if (line.compare(0, BOOKMARK.size(), BOOKMARK) != 0) return false;
    const size_t link_start = BOOKMARK.size();
    const size_t second = line.find('\t', link_start);
    if (second == std::string::npos || line.find('\t', second + 1) != std::string::npos) return false;
    const std::string link = line.substr(link_start, second - link_start);
    bool has_star = false;
    if (!DecodeStarLink(link.c_str(), &mark->shape, &has_star, &mark->star, nullptr) || !has_star)
        return false;
    mark->code = EncodeGalaxyCode(mark->shape).text;
    mark->note = CleanText(line.substr(second + 1), SAVED_GALAXY_NAME_MAX_BYTES);
    return true;
}

std::string FormatDate(time_t when)
{
    struct tm utc = {};
    char date[32] = "";
    if (gmtime_r(&when, &utc)) std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return date;
}

std::string DescribeProblems(const SAVED_GALAXIES_T &list)
{
    std::string problem;
    if (list.file_version == 0) problem = "the saved galaxies file has no header line";
    if (list.file_version > SAVED_GALAXIES_VERSION)
        problem =
            "the saved galaxies file is from a newer version (" + std::to_string(list.file_version) + ")";
    const size_t count = list.unreadable_lines.size();
    if (count > 0)
    {
        if (!problem.empty()) problem += "; ";
        problem += std::to_string(count) + (count == 1 ? " line" : " lines") +
                   " could not be read and will be kept as they are";
    }
    return problem;
}

bool IsDamaged(const SAVED_GALAXIES_T &list)
{
    return !list.unreadable_lines.empty() || list.file_version != SAVED_GALAXIES_VERSION;
}

// Keeps the file as it was before the first save replaces it, once: a later damaged save
// must not overwrite the oldest copy.
bool KeepBackup(const std::string &path, std::string *error)
{
    const std::string backup = path + ".bak";
    struct stat info = {};
    if (lstat(backup.c_str(), &info) == 0) return true;
    std::string original;
    bool missing = false;
    if (!ReadWholeFile(path.c_str(), &original, &missing, error)) return missing;
    return WriteFileAtomically(backup.c_str(), original, error);
}
} // namespace

std::string SavedGalaxiesPath(void)
{
    const std::string folder = UserDataFolder();
    return folder.empty() ? folder : folder + "/" + SAVED_GALAXIES_FILE_NAME;
}

SAVED_GALAXIES_T ParseSavedGalaxies(const std::string &text)
{
    SAVED_GALAXIES_T list;
    list.file_version = 0;
    bool first = true;
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string raw = text.substr(start, end - start);
        start = end + 1;
        const std::string line = !raw.empty() && raw.back() == '\r' ? raw.substr(0, raw.size() - 1) : raw;
        if (line.empty()) continue;
        if (first)
        {
            first = false;
            list.file_version = HeaderVersion(line);
            if (list.file_version != 0) continue;
        }
        SAVED_GALAXY_T entry;
        SAVED_BOOKMARK_T mark;
        if (ParseEntry(line, &entry))
            list.entries.push_back(entry);
        else if (ParseBookmark(line, &mark))
            list.bookmarks.push_back(mark);
        else
            list.unreadable_lines.push_back(raw);
    }
    // An empty file holds nothing to lose; it is a fresh list, not a damaged one.
    if (first) list.file_version = SAVED_GALAXIES_VERSION;
    list.problem = DescribeProblems(list);
    return list;
}

std::string FormatSavedGalaxies(const SAVED_GALAXIES_T &list)
{
    std::string text = HEADER + std::to_string(SAVED_GALAXIES_VERSION) + "\n";
    for (const SAVED_GALAXY_T &entry : list.entries)
    {
        text += EncodeGalaxyCode(entry.shape).text;
        text += "\t" + CleanText(entry.date, 64) + "\t" + CleanText(entry.name, SAVED_GALAXY_NAME_MAX_BYTES) +
                "\n";
    }
    for (const SAVED_BOOKMARK_T &mark : list.bookmarks)
        text += BOOKMARK + EncodeStarLink(mark.shape, mark.star) + "\t" +
                CleanText(mark.note, SAVED_GALAXY_NAME_MAX_BYTES) + "\n";
    for (const std::string &line : list.unreadable_lines)
        text += line + "\n";
    return text;
}

bool LoadSavedGalaxies(const char *path, SAVED_GALAXIES_T *list, std::string *error)
{
    std::string text;
    bool missing = false;
    if (!ReadWholeFile(path, &text, &missing, error))
    {
        if (!missing) return false;
        *list = SAVED_GALAXIES_T();
        return true;
    }
    *list = ParseSavedGalaxies(text);
    return true;
}

bool StoreSavedGalaxies(const char *path, const SAVED_GALAXIES_T &list, std::string *error)
{
    if (!MakeFolders(FolderOf(path).c_str(), error)) return false;
    if (IsDamaged(list) && !KeepBackup(path, error)) return false;
    return WriteFileAtomically(path, FormatSavedGalaxies(list), error);
}

void AddSavedGalaxy(SAVED_GALAXIES_T *list, const char *name, const GALAXY_SHAPE_T &shape, time_t now)
{
    SAVED_GALAXY_T entry;
    entry.name = CleanText(name ? name : "", SAVED_GALAXY_NAME_MAX_BYTES);
    entry.date = FormatDate(now);
    entry.code = EncodeGalaxyCode(shape).text;
    entry.shape = shape;
    list->entries.push_back(entry);
}

bool DeleteSavedGalaxy(SAVED_GALAXIES_T *list, size_t index)
{
    if (index >= list->entries.size()) return false;
    list->entries.erase(list->entries.begin() + (std::ptrdiff_t)index);
    return true;
}

int FindSavedGalaxy(const SAVED_GALAXIES_T &list, const char *name)
{
    const std::string clean = CleanText(name ? name : "", SAVED_GALAXY_NAME_MAX_BYTES);
    for (size_t i = 0; i < list.entries.size(); i++)
        if (list.entries[i].name == clean) return (int)i;
    return -1;
}

bool ReplaceSavedGalaxy(SAVED_GALAXIES_T *list, size_t index, const GALAXY_SHAPE_T &shape, time_t now)
{
    if (index >= list->entries.size()) return false;
    SAVED_GALAXY_T &entry = list->entries[index];
    entry.date = FormatDate(now);
    entry.code = EncodeGalaxyCode(shape).text;
    entry.shape = shape;
    return true;
}

void AddBookmark(SAVED_GALAXIES_T *list, const GALAXY_SHAPE_T &shape, uint64_t star, const char *note)
{
    const std::string code = EncodeGalaxyCode(shape).text;
    const std::string clean = CleanText(note ? note : "", SAVED_GALAXY_NAME_MAX_BYTES);
    for (SAVED_BOOKMARK_T &mark : list->bookmarks)
    {
        if (mark.code == code && mark.star == star)
        {
            mark.note = clean;
            return;
        }
    }
    SAVED_BOOKMARK_T mark;
    mark.code = code;
    mark.shape = shape;
    mark.star = star;
    mark.note = clean;
    list->bookmarks.push_back(mark);
}

bool DeleteBookmark(SAVED_GALAXIES_T *list, size_t index)
{
    if (index >= list->bookmarks.size()) return false;
    list->bookmarks.erase(list->bookmarks.begin() + (std::ptrdiff_t)index);
    return true;
}
