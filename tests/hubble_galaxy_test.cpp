// The second galaxy model measured as astronomers measure real galaxies: every spiral preset,
// and spirals of random arm counts and pitch angles, show their arm count as the strongest
// Fourier mode with a real spiral's amplitude and their own pitch; discs are exponential and
// ellipticals as flat as their type. And the same stars on any number of threads.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "galaxy/galaxy_code.h"
#include "galaxy/hubble_types.h"
#include "galaxy/star_field.h"
#include "galaxy/star_system_on_demand.h"
#include "tests/support/spiral_measure.h"

namespace
{
GALAXY_SHAPE_T TypeShape(int32_t model, uint32_t seed)
{
    GALAXY_SHAPE_T shape;
    shape.seed = seed;
    shape.size_xz = 252;
    shape.size_y = 63;
    shape.density = 1;
    return ApplyHubblePreset(shape, model);
}

// Fails unless the field's spiral measures as its shape asks and its disc is exponential.
::testing::AssertionResult MeasuresAsAsked(const GALAXY_SHAPE_T &shape)
{
    STAR_FIELD_T field(256);
    MakeStarField(&field, shape);
    const double radius = (double)shape.size_xz;
    const double inner = shape.bar_length > 0 ? 1.15 * radius * shape.bar_length / 100.0 : 0.3 * radius;
    const SPIRAL_MEASURE_T measure = MeasureSpiral(field.stars.get(), field.StarCount(), inner, 0.9 * radius);
    const double amplitude = measure.amplitude[shape.arms];
    const double pitch = measure.pitch_degrees[shape.arms];
    const double scale = measure.scale_length / (radius / 3.5);
    if (measure.strongest_m != shape.arms || amplitude < 0.1 || amplitude > 0.7 ||
        std::fabs(pitch - (double)shape.pitch) > 3.0 || measure.profile_r2 < 0.95 || scale < 0.75 || scale > 1.25)
        return ::testing::AssertionFailure()
               << GalaxyModelName(shape.model) << " arms " << shape.arms << " pitch " << shape.pitch << " width "
               << shape.arm_width << " contrast " << shape.arm_contrast << ": strongest m " << measure.strongest_m
               << ", amplitude " << amplitude << ", pitch " << pitch << ", scale " << scale << ", r2 "
               << measure.profile_r2;
    return ::testing::AssertionSuccess();
}
} // namespace

// Catches arms that do not show in the Fourier transform (too weak, too wide, the wrong
// count), a pitch that is not the one asked for, a disc that is not exponential, and
// ellipticals flattened other than 1 - n/10.
TEST(HubbleGalaxy, EveryPresetMeasuresLikeItsType)
{
    for (int32_t model = 1; model <= HUBBLE_TYPE_COUNT; model++)
    {
        const HUBBLE_TYPE_T &type = *HubbleType(model);
        const GALAXY_SHAPE_T shape = TypeShape(model, 7);
        if (type.kind == HUBBLE_SPIRAL)
        {
            EXPECT_TRUE(MeasuresAsAsked(shape));
        }
        if (type.kind != HUBBLE_ELLIPTICAL) continue;
        STAR_FIELD_T field(256);
        MakeStarField(&field, shape);
        const Vector3 spread = AxisSpread(field.stars.get(), field.StarCount());
        EXPECT_NEAR(spread.y / spread.x, 1.0 - type.ellipticity / 10.0, 0.04) << type.name;
        EXPECT_LE(spread.y, spread.z * 1.02f) << type.name;
        EXPECT_LE(spread.z, spread.x * 1.02f) << type.name;
    }
}

// Catches a measure that only holds for the presets: any arm count from 1 to 9 and any pitch
// from 5 to 40 degrees, with or without a bar.
TEST(HubbleGalaxy, RandomArmCountsAndPitchesMeasureAsAsked)
{
    std::mt19937 random(21u);
    for (int i = 0; i < 12; i++)
    {
        GALAXY_SHAPE_T shape = TypeShape(i % 2 ? HubbleModelByName("SBc") : HubbleModelByName("Sc"), random());
        shape.arms = 1 + (int32_t)(random() % 9);
        shape.pitch = 5 + (int32_t)(random() % 36);
        shape.arm_width = 5 + (int32_t)(random() % 8);
        shape.arm_contrast = 45 + (int32_t)(random() % 26);
        EXPECT_TRUE(MeasuresAsAsked(shape));
    }
}

// Catches stars or a tree that depend on how many threads made them, a type's stars or systems that
// collide with another type's or the classic galaxy's, values out of range that still make
// stars, and codes of the second model that do not come back.
TEST(HubbleGalaxy, SameStarsOnAnyThreadsAndEveryShapeNamesItsOwn)
{
    const GALAXY_SHAPE_T shape = TypeShape(HubbleModelByName("SBb"), 3);
    STAR_FIELD_T one(256), many(256);
    MakeStarField(&one, shape, 1);
    MakeStarField(&many, shape, 3);
    ASSERT_EQ(one.StarCount(), 24327u);
    ASSERT_EQ(many.StarCount(), one.StarCount());
    for (uint64_t k = 0; k < one.StarCount(); k++)
    {
        ASSERT_EQ(std::memcmp(&one.stars[k].position, &many.stars[k].position, sizeof(Vector3)), 0) << k;
        ASSERT_EQ(one.stars[k].tag, many.stars[k].tag) << k;
    }
    EXPECT_EQ(one.tree.draw_order, many.tree.draw_order);
    ASSERT_EQ(one.tree.nodes.size(), many.tree.nodes.size());
    for (size_t n = 0; n < one.tree.nodes.size(); n++)
    {
        const ARRAY_OCTREE_NODE_T &a = one.tree.nodes[n], &b = many.tree.nodes[n];
        ASSERT_TRUE(a.children == b.children && a.first == b.first && a.count == b.count && a.leaf == b.leaf) << n;
    }

    GALAXY_SHAPE_T classic = shape;
    classic.model = 0;
    GALAXY_SHAPE_T other = TypeShape(HubbleModelByName("SBc"), 3);
    EXPECT_NE(StarSystemKey(shape, 5), StarSystemKey(classic, 5));
    EXPECT_NE(StarSystemKey(shape, 5), StarSystemKey(other, 5));

    GALAXY_SHAPE_T back;
    const char *why = nullptr;
    ASSERT_TRUE(DecodeGalaxyCode(EncodeGalaxyCode(shape).text, &back, &why)) << why;
    EXPECT_EQ(back, shape);

    for (auto broken : {&GALAXY_SHAPE_T::arms, &GALAXY_SHAPE_T::pitch, &GALAXY_SHAPE_T::arm_width,
                        &GALAXY_SHAPE_T::density, &GALAXY_SHAPE_T::model})
    {
        GALAXY_SHAPE_T bad = shape;
        bad.*broken = 400;
        STAR_FIELD_T field(256);
        MakeStarField(&field, bad);
        EXPECT_EQ(field.StarCount(), 0u);
        EXPECT_FALSE(field.failure.empty());
    }
}
