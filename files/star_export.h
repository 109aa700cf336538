// The galaxy's star field as a file other tools read: CSV for spreadsheets and scripts, an
// ASCII PLY point cloud for 3-D tools. One row or vertex per star, in creation order.
#pragma once

#include <string>

#include "files/atomic_write.h"
#include "galaxy/star_field.h"

// "index,x,y,z", then one row per star of star_list. Coordinates carry nine significant
// digits, enough to read back the very same float.
std::string StarFieldCsv(const STAR_FIELD_T &field);

// ASCII PLY 1.0 with one vertex (float x, y, z) per star.
std::string StarFieldPly(const STAR_FIELD_T &field);

// Writes CSV or PLY as path's extension says (.csv or .ply, in any case), replacing path
// only when the whole file is written. On failure *error says what and why, and nothing is
// written. progress, when given, hears how many stars are written as the rows are made.
bool ExportStarField(const STAR_FIELD_T &field, const char *path, std::string *error,
                     const WRITE_PROGRESS_T &progress = {});
