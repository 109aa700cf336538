// The look's draw-order data against a fresh gather: taken from the worker's preparation or
// followed chunk by chunk as stars take their systems' colours, it must show what a full
// gather of the galaxy's colours shows, and the changed ranges must hold every change.
#include <gtest/gtest.h>

#include <vector>

#include "galaxy/galaxy.h"
#include "galaxy/galaxy_look.h"
#include "galaxy/star_color.h"
#include "random/random.h"

namespace
{
// Fails when the look's colours, samples or changed ranges are not what a full rebuild gives.
void ExpectLookMatchesGalaxy(GALAXY *galaxy, GALAXY_LOOK_T *look, const char *when)
{
    const std::vector<Color> before = look->draw_colors;
    const uint32_t stamp = look->colors_stamp;
    FRUSTUM_T frustum;
    frustum.SetInternals(60.0f, 1366.0f / 768.0f, 1.0f, 100000.0f);
    frustum.Update(Camera3D{Vector3{0.0f, 300.0f, 400.0f}, Vector3{}, Vector3{0.0f, 1.0f, 0.0f}, 60.0f,
                            CAMERA_PERSPECTIVE});
    SelectGalaxyLook(galaxy, frustum, LOD_VIEW_T{Vector3{0.0f, 300.0f, 400.0f}, 700.0f, 4.0f}, look);

    std::vector<Color> full;
    GatherDrawColors(galaxy->tree, galaxy->star_colors, galaxy->star_colors_filled, galaxy->disc_radius, &full);
    ASSERT_EQ(look->draw_colors.size(), full.size()) << when;
    for (size_t j = 0; j < full.size(); j++)
        ASSERT_EQ(ColorToInt(look->draw_colors[j]), ColorToInt(full[j])) << when << ", draw place " << j;
    ARRAY_OCTREE_LOD_T lod;
    UpdateArrayOctreeLod(galaxy->tree, &lod);
    EXPECT_EQ(look->lod.samples, lod.samples) << when;
    EXPECT_EQ(look->lod.sample_first, lod.sample_first) << when;

    // A partial stamp must follow the one before, and list every colour that moved.
    if (!look->colors_partial || before.size() != full.size()) return;
    ASSERT_EQ(look->colors_stamp, stamp + 1) << when;
    std::vector<bool> listed(full.size(), false);
    for (size_t r = 0; r < look->colors_changed.first.size(); r++)
        for (int32_t j = 0; j < look->colors_changed.count[r]; j++) listed[look->colors_changed.first[r] + j] = true;
    for (size_t j = 0; j < full.size(); j++)
        if (ColorToInt(before[j]) != ColorToInt(full[j]))
        {
            ASSERT_TRUE(listed[j]) << when << ", draw place " << j;
        }
}
} // namespace

// Catches a preparation taken for the wrong tree, a star followed to the wrong draw place, a
// chunk missed or a change left out of the uploaded ranges: a galaxy swapped in from a
// generation, coloured chunk by chunk, replaced by a synchronous one and swapped again.
TEST(GalaxyLook, FollowsSwapsAndColourChunksAsAFullGatherWould)
{
    GALAXY galaxy(256);
    GALAXY_LOOK_T look;
    GALAXY_GENERATION_T generation(256);
    const GALAXY_SHAPE_T shape = MakeGalaxyShape(5, 14, -40, 60, 20, 48, 63, 252);
    for (uint32_t seed : {11u, 12u})
    {
        GALAXY_SHAPE_T next = shape;
        next.seed = seed;
        GenerateGalaxyApart(&generation, next);
        galaxy.TakeGeneration(&generation);
        ASSERT_TRUE(galaxy.draw_prep.ready);
        ExpectLookMatchesGalaxy(&galaxy, &look, "swapped in");
        EXPECT_FALSE(galaxy.draw_prep.ready) << "the look did not take the worker's preparation";
        int chunks = 0;
        while (!ColorStarsFromSystems(&galaxy, 0.0))
        {
            // Every third chunk comes with no look between, as when a frame draws DEBUG.
            if (++chunks % 3 == 0) continue;
            ExpectLookMatchesGalaxy(&galaxy, &look, "a chunk coloured");
        }
        ExpectLookMatchesGalaxy(&galaxy, &look, "all coloured");
        // The preparation swapped back out is stale: a synchronous galaxy must not take it.
        RandomSeed(5.0);
        galaxy.Generate(MakeGalaxyShape(3, 9, -10, 50, 10, 40, 40, 160));
        ExpectLookMatchesGalaxy(&galaxy, &look, "generated at once");
        ColorStarsFromSystems(&galaxy, 0.0);
        ExpectLookMatchesGalaxy(&galaxy, &look, "its first chunk");
    }
}
