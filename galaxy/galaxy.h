// GALAXY: the scene object holding a procedurally generated spiral galaxy. Its stars are
// small IOBJECT_Ts placed along spiral arms, kept in one array the galaxy owns, listed in
// star_list and indexed by the galaxy's own array octree, through which the viewer draws them.
#pragma once

#include <cstdint>
#include <vector>

#include "galaxy/galaxy_draw_prep.h"
#include "galaxy/galaxy_shape.h"
#include "octree/array_octree.h"
#include "octree/octree.h"
#include "scene/arraylist.h"
#include "scene/object.h"

constexpr int32_t GALAXY_TREE_CAPACITY = 8;
// Steps along each arm from the centre (i = 0) to the rim (i = 900).
constexpr uint32_t GALAXY_ARM_STEPS = 900;
// Arms beyond this many generate nothing, like arms <= 0: 360 arms already make 973,080
// stars (a process of about 145 MB with their tree), and the count grows with the value
// without bound.
constexpr int32_t GALAXY_MAX_ARMS = 360;
// Stars placed at every spiral point: a density outside 1 to this many generates nothing.
constexpr int32_t GALAXY_MAX_DENSITY = 40;
// A walk that would give more points than this generates nothing, like arms out of range:
// arms and density multiply (360 arms at density 40 would be 39 million stars, some 4 GB).
// Four million stars, a little over four times the largest density-1 galaxy, take about
// half a gigabyte with their tree; every panel galaxy (9 arms, density 40: 973,080) fits.
constexpr uint64_t GALAXY_MAX_SPIRAL_POINTS = 4000000;

// Which spiral points a walk keeps: the star field stops at the disc's rim (size_xz), the
// star-system layer takes every point.
enum SPIRAL_POINTS_T
{
    SPIRAL_POINTS_IN_DISC,
    SPIRAL_POINTS_ALL,
};

// One generation's stars apart from any galaxy: their own array, list and tree, the parts of
// a GALAXY that Generate replaces. A worker thread fills one while the galaxy on screen stays
// as it is, and GALAXY::TakeGeneration swaps it in. Needs no window.
struct GALAXY_GENERATION_T
{
    // Its tree covers -extent to +extent, as a GALAXY's of the same extent.
    explicit GALAXY_GENERATION_T(int32_t extent);
    ~GALAXY_GENERATION_T();
    GALAXY_GENERATION_T(const GALAXY_GENERATION_T &) = delete;
    GALAXY_GENERATION_T &operator=(const GALAXY_GENERATION_T &) = delete;

    // Gives the memory back: no stars, an empty tree with no spare storage.
    void Release(void);

    IOBJECT_T *stars = nullptr; // owned; star_list[k] is &stars[k]
    uint64_t star_capacity = 0;
    ARRAYLIST star_list;
    ARRAY_OCTREE_T tree;
    double generate_ms = 0.0; // milliseconds placing the stars, then indexing them
    double index_ms = 0.0;
    GALAXY_SHAPE_T shape = {};      // what it was generated from
    std::vector<Color> star_colors; // from the stars' places, as GALAXY::Generate fills them
    float disc_radius = 0.0f;
    GALAXY_DRAW_PREP_T draw_prep; // for tree and star_colors, made after them
};

// Seeds the calling thread's random stream with shape.seed and generates into *generation:
// exactly the stars, list, tree and colours GenerateGalaxy gives a galaxy of the same extent.
void GenerateGalaxyApart(GALAXY_GENERATION_T *generation, const GALAXY_SHAPE_T &shape);

class GALAXY : public IOBJECT_T
{
  public:
    // Centred on the origin with size (extent, extent, extent); its tree covers -extent to
    // +extent on every axis. The sprite texture is made only when a window exists.
    explicit GALAXY(int32_t extent);
    ~GALAXY() override;
    GALAXY(const GALAXY &) = delete;
    GALAXY &operator=(const GALAXY &) = delete;

    // Replaces all stars by 901 * 3 * arms * density new ones (fewer when size_xz < 1; none
    // when SpiralPointLimit is 0) and indexes them. A star whose coordinates would not be finite is never
    // stored. Returns 0. Draws from the random stream as it stands: the shape's seed is not
    // used here (see GenerateGalaxy, which seeds first).
    int32_t Generate(const GALAXY_SHAPE_T &shape);
    int32_t Generate(int32_t arms, int32_t curvature, int32_t inner_radius, int32_t bulge_offset0,
                     int32_t bulge_offset1, int32_t bulge_size, int32_t size_y, int32_t size_xz,
                     int32_t density = 1);

    // Swaps generation's stars, list, tree, colours and draw_prep with the galaxy's (and takes
    // its shape and timings): the
    // galaxy shows the new stars, generation holds the old ones for reuse. The tree's version
    // moves past the one shown, so the GPU buffers are uploaded again. O(1).
    void TakeGeneration(GALAXY_GENERATION_T *generation);

    // Empties star_list and clears tree. The star array is kept for the next generation and
    // released only with the galaxy, so nothing a caller does to a star or to the tree can
    // make a star be released twice or while listed.
    void EmptyStars(void);

    // The star-system layer (galaxy_systems.cpp, galaxy_systems_draw.cpp): one generated
    // system per spiral point in system_list, drawn as sprites. Returns 1. Like Generate, it
    // draws from the stream as it stands.
    int32_t GenerateSystems(const GALAXY_SHAPE_T &shape);
    int32_t GenerateSystems(int32_t arms, int32_t curvature, int32_t inner_radius, int32_t bulge_offset0,
                            int32_t bulge_offset1, int32_t bulge_size, int32_t size_y, int32_t size_xz);
    // Pops every system off system_list and releases it with its stars.
    void EmptySystems(void);
    // Both run inside BeginMode3D/EndMode3D.
    void DrawSystems(Camera3D &camera, bool debug);
    void DrawStars(Camera3D &camera, bool debug);

    ARRAYLIST star_list;      // this generation's stars in creation order: pointers into stars
    ARRAYLIST system_list;    // SYSTEM_T records of the star-system layer
    ARRAY_OCTREE_T tree;      // the stars inside -extent...+extent, built after generation
    ARRAY_OCTREE_GPU_T tree_gpu; // the tree's stars and cells on the GPU, once a window draws them
    IOBJECT_T *stars = nullptr;  // owned; star_list[k] is &stars[k]
    uint64_t star_capacity = 0;  // length of the stars array
    Texture2D star_texture = {};
    float system_blink_ms = 0.0f; // DrawSystems' running time, milliseconds; never reset
    // The shape of the last Generate, seed included: what names its stars' systems.
    GALAXY_SHAPE_T shape = {};
    // The last Generate's two stages, milliseconds: placing the stars, then indexing them.
    double last_generate_ms = 0.0;
    double last_index_ms = 0.0;
    // One colour per star in creation order (the index draw_order holds). Only the first
    // star_colors_filled are valid; the rest, if any, are still to come. Whoever changes them
    // raises star_colors_version, which is how the drawing knows to upload them again.
    std::vector<Color> star_colors;
    uint32_t star_colors_filled = 0;
    uint32_t star_colors_version = 0;
    uint32_t star_colors_from_systems = 0; // how many from the front have their system's colour
    float disc_radius = 0.0f; // the farthest star from the axis (y), world units
    // Made on the builder's worker for the tree TakeGeneration brings; the look takes it when
    // ready and still of this tree's version. A synchronous Generate leaves the look to make its own.
    GALAXY_DRAW_PREP_T draw_prep;
};

// Clamped cubic ramp from e0 to e1; reversed when e1 < e0, a step when e0 == e1. A NaN ramp
// position (x == e0 == e1, or a NaN x) counts as 0.
double SmoothStep(double x, double e0, double e1);

// Every star position of one generation, in creation order: three unit draws from the
// random stream per star (r1, r2, r3 for z, y, x), each position computed in double and
// rounded once to float. At each spiral point the walk places density stars one after the
// other, each with its own three draws around the same point and spread, so density 1 is
// exactly the walk without density. Generate places its stars here; benchmarks time it alone.
typedef void (*STAR_SINK_FN)(Vector3 position, void *context);
// The most points a walk of this shape can give: 901 * 3 * arms * density; 0 for arms,
// curvature or density out of range, or a product above GALAXY_MAX_SPIRAL_POINTS.
uint64_t SpiralPointLimit(const GALAXY_SHAPE_T &shape);
void WalkSpiralArms(const GALAXY_SHAPE_T &shape, SPIRAL_POINTS_T which, STAR_SINK_FN sink, void *context);

// Seeds the random stream with shape.seed, then generates: the same shape gives the same
// stars on every run. What the panel and the command line both use.
int32_t GenerateGalaxy(GALAXY *galaxy, const GALAXY_SHAPE_T &shape);

// The GPU side of the galaxy (galaxy_draw.cpp): the star sprite, a white disc solid in its
// inner quarter and fading to transparent at the rim. Without a window: an empty texture.
Texture2D LoadStarTexture(void);
void UnloadStarTexture(Texture2D *texture);
