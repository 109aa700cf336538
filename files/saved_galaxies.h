// The user's list of saved galaxies: one small text file, galaxies.txt in the data folder.
// Nothing in it is ever lost: lines this version cannot read are carried through every later
// save unchanged, and a damaged file is kept once as galaxies.txt.bak before it is replaced.
//
// The file, UTF-8, lines ended by \n (a \r before it is ignored on reading):
//   galaxy_viewer saved galaxies 1
//   <galaxy code>\t<date, UTC, 2026-12-08T23:55:03Z>\t<name>
//   ...
//   bookmark\t<star link, code#star>\t<note>
//   ...
// A name or note holds no tab, line end or other control character (each becomes a space) and
// at most SAVED_GALAXY_NAME_MAX_BYTES bytes, cut between UTF-8 characters. A line with other
// than three fields, or whose code does not decode, is kept as it stands. A newer version's
// header still lets every entry line of this form be read. Bookmark lines came later under the
// same version: an older reader takes them for lines it cannot read, and so keeps them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "galaxy/galaxy_shape.h"

constexpr int SAVED_GALAXIES_VERSION = 1;
constexpr size_t SAVED_GALAXY_NAME_MAX_BYTES = 64;
constexpr const char *SAVED_GALAXIES_FILE_NAME = "galaxies.txt";

struct SAVED_GALAXY_T
{
    std::string name;
    std::string date; // as written in the file: ISO 8601, UTC
    std::string code; // the galaxy code of shape
    GALAXY_SHAPE_T shape;
};

// A star the user kept, with a note; it belongs to whichever saved galaxy has its code, and
// outlives them all.
struct SAVED_BOOKMARK_T
{
    std::string code; // the galaxy code of shape
    GALAXY_SHAPE_T shape;
    uint64_t star = 0; // the star's number in its galaxy
    std::string note;
};

struct SAVED_GALAXIES_T
{
    std::vector<SAVED_GALAXY_T> entries;       // in the file's order; new ones go last
    std::vector<SAVED_BOOKMARK_T> bookmarks;   // in the file's order, after the entries
    std::vector<std::string> unreadable_lines; // byte for byte, without their \n
    int file_version = SAVED_GALAXIES_VERSION; // the header's number; 0 when it had none
    std::string problem;                       // one line for the screen, empty when all read
};

// <data folder>/galaxies.txt, or empty when there is no data folder.
std::string SavedGalaxiesPath(void);

// Reads as much as it can; never fails.
SAVED_GALAXIES_T ParseSavedGalaxies(const std::string &text);
// The header, the entries, the bookmarks, then the unreadable lines unchanged.
std::string FormatSavedGalaxies(const SAVED_GALAXIES_T &list);

// A missing file is an empty list, not an error.
bool LoadSavedGalaxies(const char *path, SAVED_GALAXIES_T *list, std::string *error);
// Creates the folder when needed and replaces the file atomically. When the list came from
// a damaged or newer file, the file is first copied to <path>.bak unless that exists already.
bool StoreSavedGalaxies(const char *path, const SAVED_GALAXIES_T &list, std::string *error);

// Appends an entry dated now (UTC).
void AddSavedGalaxy(SAVED_GALAXIES_T *list, const char *name, const GALAXY_SHAPE_T &shape, time_t now);
// False when index is past the end.
bool DeleteSavedGalaxy(SAVED_GALAXIES_T *list, size_t index);
// The first entry with this name as it would be stored (cleaned and cut), or -1.
int FindSavedGalaxy(const SAVED_GALAXIES_T &list, const char *name);
// Entry index takes shape and a date of now; its name and its place in the list stay.
bool ReplaceSavedGalaxy(SAVED_GALAXIES_T *list, size_t index, const GALAXY_SHAPE_T &shape, time_t now);

// Keeps star `star` of the galaxy of shape with a note; a star kept before only takes the new
// note, so one star is never listed twice.
void AddBookmark(SAVED_GALAXIES_T *list, const GALAXY_SHAPE_T &shape, uint64_t star, const char *note);
// False when index is past the end.
bool DeleteBookmark(SAVED_GALAXIES_T *list, size_t index);
