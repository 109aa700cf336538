// Writing the star field. Rows are printed with snprintf's "%.9g": nine significant digits
// identify every float, so a reader gets back the exact positions the galaxy holds.
#include "files/star_export.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "files/atomic_write.h"

namespace
{
Vector3 StarPosition(const STAR_FIELD_T &field, uint64_t index)
{
    return ((const IOBJECT_T *)field.star_list.Get(index))->position;
}

// Rows between two reports of progress.
constexpr uint64_t PROGRESS_ROWS = 16384;

// One line per star: "index,x,y,z" for CSV, "x y z" for PLY.
void AppendRows(const STAR_FIELD_T &field, bool with_index, std::string *out, const WRITE_PROGRESS_T &progress)
{
    char line[128];
    const uint64_t stars = field.star_list.Count();
    for (uint64_t i = 0; i < stars; i++)
    {
        if (progress && i % PROGRESS_ROWS == 0) progress(i, stars);
        const Vector3 p = StarPosition(field, i);
        const int length = with_index ? std::snprintf(line, sizeof line, "%" PRIu64 ",%.9g,%.9g,%.9g\n", i,
                                                      (double)p.x, (double)p.y, (double)p.z)
                                      : std::snprintf(line, sizeof line, "%.9g %.9g %.9g\n", (double)p.x,
                                                      (double)p.y, (double)p.z);
        out->append(line, (size_t)length);
    }
    if (progress) progress(stars, stars);
}

std::string CsvText(const STAR_FIELD_T &field, const WRITE_PROGRESS_T &progress)
{
    std::string out = "index,x,y,z\n";
    AppendRows(field, true, &out, progress);
    return out;
}

std::string PlyText(const STAR_FIELD_T &field, const WRITE_PROGRESS_T &progress)
{
    std::string out =
        "ply\n"
        "format ascii 1.0\n"
        "comment galaxy_viewer star field: one vertex per star in creation order, world units\n";
    out += "element vertex " + std::to_string(field.star_list.Count()) + "\n";
    out += "property float x\n"
           "property float y\n"
           "property float z\n"
           "end_header\n";
    AppendRows(field, false, &out, progress);
    return out;
}
} // namespace

std::string StarFieldCsv(const STAR_FIELD_T &field)
{
    return CsvText(field, {});
}

std::string StarFieldPly(const STAR_FIELD_T &field)
{
    return PlyText(field, {});
}

bool ExportStarField(const STAR_FIELD_T &field, const char *path, std::string *error,
                     const WRITE_PROGRESS_T &progress)
{
    const char *slash = std::strrchr(path, '/');
    const char *dot = std::strrchr(slash ? slash : path, '.');
    if (dot && strcasecmp(dot, ".csv") == 0) return WriteFileAtomically(path, CsvText(field, progress), error);
    if (dot && strcasecmp(dot, ".ply") == 0) return WriteFileAtomically(path, PlyText(field, progress), error);
    if (error)
        *error = std::string("cannot export ") + path + ": unknown export format " +
                 (dot ? std::string("\"") + dot + "\"" : std::string("(no extension)")) +
                 "; use .csv or .ply";
    return false;
}
