// The galaxy builder without a window: what it swaps in is the synchronous galaxy star for
// star, with the stream where a synchronous generation leaves it; the newest request wins;
// ending it at any moment is clean (the sanitizer run sees leaks and races on the heap).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "galaxy/galaxy_builder.h"
#include "random/random.h"

namespace
{
// Past the synchronous limit: 243,270 points.
GALAXY_SHAPE_T Large(uint32_t seed, int32_t curvature)
{
    GALAXY_SHAPE_T shape = MakeGalaxyShape(9, curvature, -100, 60, 20, 48, 63, 252, 10);
    shape.seed = seed;
    return shape;
}

// The calling thread's stream as a synchronous generation leaves it, every position bit for
// bit, the tree's cells and order, the shape and the colours.
::testing::AssertionResult SameAsSynchronous(const GALAXY &galaxy, const GALAXY_SHAPE_T &shape)
{
    const RANDOM_STATE_T stream = RandomGetState();
    GALAXY expected(256);
    GenerateGalaxy(&expected, shape);
    const RANDOM_STATE_T left = RandomGetState();
    if (stream.pos != left.pos || std::memcmp(stream.mt, left.mt, sizeof stream.mt) != 0)
        return ::testing::AssertionFailure() << "stream";
    const uint64_t count = galaxy.field.star_list.Count();
    if (count != expected.field.star_list.Count()) return ::testing::AssertionFailure() << "count";
    for (uint64_t k = 0; k < count; k++)
    {
        if (std::memcmp(&galaxy.field.stars[k].position, &expected.field.stars[k].position, sizeof(Vector3)) != 0)
            return ::testing::AssertionFailure() << "star " << k;
    }
    if (galaxy.field.tree.draw_order != expected.field.tree.draw_order || galaxy.field.tree.nodes.size() != expected.field.tree.nodes.size())
        return ::testing::AssertionFailure() << "tree";
    if (galaxy.field.shape != expected.field.shape || galaxy.field.disc_radius != expected.field.disc_radius ||
        galaxy.field.colors.size() != expected.field.colors.size() ||
        std::memcmp(galaxy.field.colors.data(), expected.field.colors.data(), count * sizeof(Color)) != 0)
        return ::testing::AssertionFailure() << "shape or colours";
    return ::testing::AssertionSuccess();
}

// Collects until the builder has nothing left; returns how many galaxies were swapped in.
int CollectAll(GALAXY_BUILDER_T *builder, GALAXY *galaxy)
{
    int swaps = 0;
    while (builder->Busy())
    {
        builder->WaitForReady();
        swaps += builder->Collect(galaxy) ? 1 : 0;
    }
    return swaps;
}
} // namespace

// Catches a generation that differs from the synchronous one (a stream shared with the main
// thread's draws meanwhile, another seed, a tree not rebuilt), a galaxy changed before the
// swap, a tree version the GPU would take for the old one, a stream not handed back; an older
// generation swapped in after a newer one, a lost last request, and a small request made at
// once while a large one is built (the large one would then replace it). Catches also a
// worker left running or a generation leaked when a builder ends while building, with a
// request waiting, with a result never collected, while it frees a collected one, or before
// it ever started a thread.
TEST(GalaxyBuilder, SwapsInTheSynchronousGalaxyTheNewestRequestWinsAndEndingIsClean)
{
    GALAXY galaxy(256);
    GALAXY_BUILDER_T builder(256);
    const GALAXY_SHAPE_T small = MakeGalaxyShape(4, 20, -100, 60, 20, 48, 63, 252);
    EXPECT_TRUE(RequestGalaxy(&builder, &galaxy, small)); // at once: nothing is built
    EXPECT_FALSE(builder.Busy());
    EXPECT_EQ(galaxy.field.star_list.Count(), 10812u);
    const uint32_t shown = galaxy.field.tree.version;

    EXPECT_FALSE(RequestGalaxy(&builder, &galaxy, Large(77, 20)));
    // As the frame loop does: the main thread keeps drawing from its stream and polls.
    uint64_t polls = 0;
    for (; !builder.Collect(&galaxy); polls++)
    {
        ASSERT_EQ(galaxy.field.star_list.Count(), 10812u); // the old galaxy stays until the swap
        for (int i = 0; i < 1000; i++) RandomUnit();
    }
    EXPECT_GT(polls, 0u);
    EXPECT_FALSE(builder.Busy());
    EXPECT_EQ(galaxy.field.star_list.Count(), 243270u);
    EXPECT_NE(galaxy.field.tree.version, shown);
    EXPECT_TRUE(SameAsSynchronous(galaxy, Large(77, 20)));

    EXPECT_FALSE(RequestGalaxy(&builder, &galaxy, Large(1, 10)));
    EXPECT_FALSE(RequestGalaxy(&builder, &galaxy, Large(2, 11)));
    GALAXY_SHAPE_T last = MakeGalaxyShape(3, 13, 0, 20, 80, 48, 64, 255, 2);
    last.seed = 4;
    EXPECT_FALSE(RequestGalaxy(&builder, &galaxy, last)); // small, but a large one is running
    const int swaps = CollectAll(&builder, &galaxy);
    EXPECT_GE(swaps, 1);
    EXPECT_LE(swaps, 2); // the running one, then the newest; the one between never runs
    EXPECT_TRUE(SameAsSynchronous(galaxy, last));
    EXPECT_TRUE(RequestGalaxy(&builder, &galaxy, small)); // idle again: at once

    {
        GALAXY_BUILDER_T unused(256);
        GALAXY_BUILDER_T building(256);
        building.Request(Large(5, 20));
        building.Request(Large(6, 20));
        GALAXY_BUILDER_T uncollected(256);
        uncollected.Request(Large(7, 20));
        uncollected.WaitForReady();
    }
    GALAXY_BUILDER_T collected(256);
    collected.Request(Large(8, 20));
    EXPECT_EQ(CollectAll(&collected, &galaxy), 1);
    EXPECT_EQ(galaxy.field.star_list.Count(), 243270u);
}

// Catches a progress figure that goes back (slices or the cells' threads reporting out of
// order), leaves 0 to 1, stops short of the end, or names another count of stars; and a
// worker asked for DEBUG's cells that hands over a galaxy without them, or with another tree's.
TEST(GalaxyBuilder, ProgressOnlyRisesToTheEndAndTheCellsComeWithTheTree)
{
    GALAXY_BUILDER_T builder(256);
    builder.MakeCells(true);
    // 48,654 points: long enough to be watched, short enough for the sanitizer run.
    GALAXY_SHAPE_T shape = MakeGalaxyShape(9, 12, -100, 60, 20, 48, 63, 252, 2);
    shape.seed = 5;
    builder.Request(shape);
    float last = 0.0f;
    int seen = 0;
    GALAXY galaxy(256);
    for (GALAXY_BUILD_PROGRESS_T progress = builder.Progress(); builder.Busy(); progress = builder.Progress())
    {
        if (progress.running)
        {
            seen++;
            EXPECT_GE(progress.fraction, last);
            EXPECT_LE(progress.fraction, 1.0f);
            EXPECT_EQ(progress.stars, StarFieldLimit(shape));
            last = progress.fraction;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (builder.Collect(&galaxy))
        {
            EXPECT_TRUE(galaxy.field.cells.built);
            EXPECT_EQ(galaxy.field.cells.tree_version, galaxy.field.tree.version);
            EXPECT_GT(galaxy.field.cells.vertices.size(), 0u);
        }
    }
    EXPECT_GT(seen, 0);
    EXPECT_FALSE(builder.Progress().running);

    // Each part reaches its end; the builder's figure is made of the two.
    std::atomic<uint32_t> field_progress{0}, cells_progress{0};
    STAR_FIELD_T field(256);
    MakeStarField(&field, MakeGalaxyShape(9, 10, 0, 20, 80, 48, 64, 252), 2, &field_progress);
    EXPECT_EQ(field_progress.load(), STAR_FIELD_PROGRESS_DONE);
    ARRAY_OCTREE_CELLS_T cells;
    BuildArrayOctreeCells(field.tree, &cells, &cells_progress);
    EXPECT_EQ(cells_progress.load(), CELLS_PROGRESS_DONE);
}
