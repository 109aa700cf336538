// Every star's system of a galaxy in one file, for tools outside the viewer: JSON Lines (each
// line the object --system prints, on one line) or CSV (one summary row per system). Systems are
// made on every core a few hundred at a time and streamed to the file in star order, so memory
// stays flat however many stars the galaxy holds.
#pragma once

#include <cstdint>
#include <string>

#include "files/atomic_write.h"
#include "galaxy/star_field.h"
#include "galaxy/star_system_on_demand.h"

enum SYSTEM_CATALOG_FORMAT_T
{
    SYSTEM_CATALOG_UNKNOWN = 0,
    SYSTEM_CATALOG_JSONL,
    SYSTEM_CATALOG_CSV,
};

// By path's extension, in any case: .jsonl or .csv.
SYSTEM_CATALOG_FORMAT_T SystemCatalogFormat(const char *path);
// Why path cannot take a catalog ("cannot export <path>: unknown catalog format ...; use .jsonl
// or .csv"), or nothing when its extension names a format.
std::string SystemCatalogFormatProblem(const char *path);

// The CSV's first line, and the row of one system below it: the system's name and star number,
// the star's place (world units, nine significant digits as the star export writes them), the
// primary's class and temperature (kelvin, written as the JSON writes it), how many planets the
// system has (belts among them, as the JSON's "planets" lists them) and how many of those lie in
// a habitable zone.
std::string SystemCatalogCsvHeader(void);
std::string SystemCatalogCsvRow(const STAR_SYSTEM_T &system);

// Writes the system of every star of field (in creation order, from field.shape) to path as its
// extension says, on `threads` threads (0: one per core); the bytes are the same for any count.
// progress, when given, hears after each piece written how many systems are done. The file
// replaces path only once complete: on failure (an unknown extension, a field without stars, a
// folder that cannot take the file, a full disk) nothing is left behind and *error says what and
// why.
bool ExportSystemCatalog(const STAR_FIELD_T &field, const char *path, int threads, std::string *error,
                         const WRITE_PROGRESS_T &progress = {});
