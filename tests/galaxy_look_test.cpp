// A star field's draw-order data against a fresh gather: made with the field or followed chunk
// by chunk as stars take their systems' colours, it must show what a full gather of the field's
// colours shows, and the changed ranges must hold every change.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "galaxy/galaxy.h"
#include "galaxy/galaxy_look.h"
#include "galaxy/system_colors.h"
#include "random/random.h"

namespace
{
// What the GPU last took: the draw-order colours and their version.
struct SEEN_T
{
    std::vector<Color> colors;
    uint32_t version = 0;
};

// Fails when the field's draw-order colours, samples or changed ranges are not what a full
// rebuild gives, measured against what was seen before; then sees the field as it is now.
void ExpectDrawDataMatchesField(STAR_FIELD_T *field, GALAXY_LOOK_T *look, SEEN_T *seen, const char *when)
{
    FRUSTUM_T frustum;
    frustum.SetInternals(60.0f, 1366.0f / 768.0f, 1.0f, 100000.0f);
    frustum.Update(Camera3D{Vector3{0.0f, 300.0f, 400.0f}, Vector3{}, Vector3{0.0f, 1.0f, 0.0f}, 60.0f,
                            CAMERA_PERSPECTIVE});
    SelectGalaxyLook(field, frustum, LOD_VIEW_T{Vector3{0.0f, 300.0f, 400.0f}, 700.0f, 4.0f}, look);

    std::vector<Color> full;
    GatherDrawColors(field->tree, field->colors, &full);
    ASSERT_EQ(field->draw_colors.size(), full.size()) << when;
    for (size_t j = 0; j < full.size(); j++)
        ASSERT_EQ(ColorToInt(field->draw_colors[j]), ColorToInt(full[j])) << when << ", draw place " << j;
    ARRAY_OCTREE_LOD_T lod;
    UpdateArrayOctreeLod(field->tree, &lod);
    EXPECT_EQ(field->lod.samples, lod.samples) << when;
    EXPECT_EQ(field->lod.sample_first, lod.sample_first) << when;

    // The version after the one seen must list every colour that moved.
    if (field->colors_version == seen->version + 1 && seen->colors.size() == full.size())
    {
        std::vector<bool> listed(full.size(), false);
        for (size_t r = 0; r < field->colors_changed.first.size(); r++)
            for (int32_t j = 0; j < field->colors_changed.count[r]; j++)
                listed[field->colors_changed.first[r] + j] = true;
        for (size_t j = 0; j < full.size(); j++)
            if (ColorToInt(seen->colors[j]) != ColorToInt(full[j]))
            {
                ASSERT_TRUE(listed[j]) << when << ", draw place " << j;
            }
    }
    seen->colors = field->draw_colors;
    seen->version = field->colors_version;
}
} // namespace

// Catches samples or draw places left from another tree, a star followed to the wrong draw
// place, a chunk missed or a change left out of the uploaded ranges: a field swapped in from
// the builder's kind of making, coloured chunk by chunk, replaced by a synchronous one and
// swapped again.
TEST(GalaxyLook, FollowsSwapsAndColourChunksAsAFullGatherWould)
{
    GALAXY galaxy(256);
    GALAXY_LOOK_T look;
    SEEN_T seen;
    STAR_FIELD_T made(256);
    const GALAXY_SHAPE_T shape = MakeGalaxyShape(5, 14, -40, 60, 20, 48, 63, 252);
    for (uint32_t seed : {11u, 12u})
    {
        GALAXY_SHAPE_T next = shape;
        next.seed = seed;
        MakeStarField(&made, next);
        std::swap(galaxy.field, made);
        ExpectDrawDataMatchesField(&galaxy.field, &look, &seen, "swapped in");
        int chunks = 0;
        while (!ColorStarsFromSystems(&galaxy.field, 0.0))
        {
            // Every third chunk comes with no look between, as when a frame draws DEBUG.
            if (++chunks % 3 == 0) continue;
            ExpectDrawDataMatchesField(&galaxy.field, &look, &seen, "a chunk coloured");
        }
        ExpectDrawDataMatchesField(&galaxy.field, &look, &seen, "all coloured");
        // The field swapped back out is another tree's: nothing of it may remain.
        RandomSeed(5.0);
        galaxy.Generate(MakeGalaxyShape(3, 9, -10, 50, 10, 40, 40, 160));
        ExpectDrawDataMatchesField(&galaxy.field, &look, &seen, "generated at once");
        ColorStarsFromSystems(&galaxy.field, 0.0);
        ExpectDrawDataMatchesField(&galaxy.field, &look, &seen, "its first chunk");
    }
}
