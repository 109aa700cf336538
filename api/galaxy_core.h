// galaxy_core: the stable face of the galaxy library for other programs (a game engine, a
// notebook, a converter). Galaxy codes in and out, a galaxy's stars, a star's system as JSON
// and the name search, all without a window; the same results as galaxy_viewer's command line.
//
// Everything here is a pure function of its arguments: the same code gives the same stars on
// every run and machine. Functions may be called from any thread; each makes its own galaxy.
// Nothing throws for bad input: a function that can fail returns false and says why.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace galaxy_core
{
// The library's version, as galaxy_viewer --version prints it.
const char *Version(void);

// Everything that makes a galaxy: the seed and the generator's values. A galaxy code carries
// exactly these. model 0 is the classic spiral walk (it ignores the last five fields); any
// other model is a Hubble type (see ModelName), which ignores curvature, inner_radius and the
// three bulge values. DefaultShape() gives galaxy_viewer's galaxy without options.
struct Shape
{
    uint32_t seed = 0;         // 0 to 2147483647 for galaxies the viewer's panel can show
    int32_t size_xz = 0;       // disc radius, world units (1 to 256)
    int32_t size_y = 0;        // thickness, world units (1 to 64)
    int32_t inner_radius = 0;  // shifts where the disc thickens (-200 to 200)
    int32_t bulge_size = 0;    // how thick the disc gets (16 to 64)
    int32_t bulge_offset0 = 0; // where the thickening begins, percent (0 to 100)
    int32_t bulge_offset1 = 0; // where it ends, percent (0 to 100)
    int32_t arms = 0;          // spiral arms (2 to 9; a Hubble type 1 to 9)
    int32_t curvature = 0;     // how far the arms wind (1 to 32)
    int32_t density = 1;       // stars at every spiral point (1 to 40)
    int32_t model = 0;         // 0 classic, 1 onwards a Hubble type
    int32_t pitch = 0;         // the arms' pitch angle, degrees (5 to 40)
    int32_t bulge_share = 0;   // bulge-to-total ratio, percent
    int32_t bar_length = 0;    // the bar's half length, percent of the disc radius; 0: no bar
    int32_t arm_width = 0;     // an arm's spread, percent of the angle between two arms
    int32_t arm_contrast = 0;  // share of the disc's stars that lie in the arms, percent
};

bool operator==(const Shape &a, const Shape &b);
inline bool operator!=(const Shape &a, const Shape &b)
{
    return !(a == b);
}

// galaxy_viewer's galaxy when no value is given: seed 1, four arms, the largest disc.
Shape DefaultShape(void);

// Reads a galaxy code ("GX1-...", "GX2-...", "GX3-..."; lower case, O for 0, I and L for 1
// and hyphens or spaces after the prefix are accepted). A star link's "#N" is refused here.
// On failure returns false, leaves *shape as it was and puts a short sentence in *why (when
// not null).
bool DecodeCode(const std::string &code, Shape *shape, std::string *why);
// The code of a shape: always the same text for the same shape.
std::string EncodeCode(const Shape &shape);

// The Hubble types a shape's model can name: "Sa" ... "Irr", models 1 to ModelCount().
// ModelName(0) is "Classic"; a model no type has gives "".
int32_t ModelCount(void);
std::string ModelName(int32_t model);
// The model of a type's name (exact case, "Classic" included), or -1.
int32_t ModelByName(const std::string &name);
// shape turned into a galaxy of model, with that type's preset values (pitch, bulge share,
// bar, arm width and contrast, arms) as galaxy_viewer --type gives them; seed, sizes and
// density stay. Model 0 gives back the classic galaxy.
Shape WithModel(const Shape &shape, int32_t model);

// One star: its place in world units and its colour in the viewer's star field.
struct Star
{
    float x, y, z;
    uint8_t r, g, b;
};

// The galaxy's stars in creation order, the order and places galaxy_viewer --export writes.
// A shape that makes no star (values out of range) gives an empty list: MakeStars says why.
std::vector<Star> Stars(const Shape &shape);
// Fills *stars; on a shape that makes no star returns false with the reason in *why.
bool MakeStars(const Shape &shape, std::vector<Star> *stars, std::string *why);

// The star system of star `index` (0 is the first) as JSON text, exactly what
// galaxy_viewer --system prints. An index past the last star, or a galaxy without stars,
// gives "": MakeSystemJson says why.
std::string SystemJson(const Shape &shape, uint64_t index);
bool MakeSystemJson(const Shape &shape, uint64_t index, std::string *json, std::string *why);

// The name of star index's system (what the viewer shows when pointing at it). The index is
// not checked against the galaxy, which would mean making it: past the last star this names a
// system that no star has (SystemJson, which makes the galaxy anyway, refuses such an index).
std::string SystemName(const Shape &shape, uint64_t index);

// A star found by its system's name.
struct Found
{
    uint64_t index;
    std::string name;
};
// The stars whose system names contain text, without regard to case, best match first (the
// name itself, then names that begin with it, then the rest; shorter names first): what
// galaxy_viewer --find prints. At most `most` of them; an empty text finds nothing. Names
// the whole galaxy once, on every core (about two seconds for a million stars).
std::vector<Found> Find(const Shape &shape, const std::string &text, size_t most = SIZE_MAX);
} // namespace galaxy_core
