// Positioned objects and boxes: the octree's notion of "inside" rests on these.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/object.h"

// Catches constructors that leave the tag or the vectors uninitialised.
TEST(Object, ConstructorsZeroOrKeepWhatTheyAreGiven)
{
    const IOBJECT_T none;
    EXPECT_EQ(none.tag, 0);
    EXPECT_EQ(none.position.x, 0.0f);
    EXPECT_EQ(none.size.z, 0.0f);

    const IOBJECT_T point(Vector3{1.0f, 2.0f, 3.0f}, Vector3{4.0f, 5.0f, 6.0f});
    EXPECT_EQ(point.tag, 0);
    EXPECT_EQ(point.position.y, 2.0f);
    EXPECT_EQ(point.size.z, 6.0f);

    const CUBOID empty;
    EXPECT_EQ(empty.min.x, 0.0f);
    EXPECT_EQ(empty.max.y, 0.0f);
}

// Catches a half-size taken twice or not at all, and closed upper bounds.
TEST(Object, CuboidBoundsAndHalfOpenContainment)
{
    const CUBOID box(Vector3{0.0f, 0.0f, 0.0f}, Vector3{512.0f, 512.0f, 512.0f});
    EXPECT_EQ(box.min.x, -256.0f);
    EXPECT_EQ(box.max.z, 256.0f);
    EXPECT_TRUE(ContainsPoint(box, Vector3{-256.0f, 0.0f, 0.0f}));
    EXPECT_FALSE(ContainsPoint(box, Vector3{256.0f, 0.0f, 0.0f}));
    EXPECT_FALSE(ContainsPoint(box, Vector3{0.0f, 256.0f, 0.0f}));
    EXPECT_FALSE(ContainsPoint(box, Vector3{0.0f, 0.0f, 256.0f}));
    EXPECT_TRUE(ContainsPoint(box, Vector3{std::nextafter(256.0f, 0.0f), -256.0f, 255.5f}));
}

// Catches a negative extent producing an inverted (empty) box or a changed size.
TEST(Object, NegativeSizeGivesTheSameBoxAndKeepsTheSize)
{
    const CUBOID box(Vector3{10.0f, 0.0f, 0.0f}, Vector3{-4.0f, 2.0f, 2.0f});
    EXPECT_EQ(box.size.x, -4.0f);
    EXPECT_EQ(box.min.x, 8.0f);
    EXPECT_EQ(box.max.x, 12.0f);
    EXPECT_TRUE(ContainsPoint(box, Vector3{8.0f, 0.0f, 0.0f}));
    EXPECT_FALSE(ContainsPoint(box, Vector3{12.0f, 0.0f, 0.0f}));
}

// Catches NaN slipping through comparisons written as negations, and a zero box that
// contains its own centre.
TEST(Object, NaNAndZeroSizedBoxesContainNothing)
{
    const CUBOID box(Vector3{0.0f, 0.0f, 0.0f}, Vector3{10.0f, 10.0f, 10.0f});
    const float nan = std::nanf("");
    EXPECT_FALSE(ContainsPoint(box, Vector3{nan, 0.0f, 0.0f}));
    EXPECT_FALSE(ContainsPoint(box, Vector3{0.0f, nan, 0.0f}));
    EXPECT_FALSE(ContainsPoint(box, Vector3{0.0f, 0.0f, nan}));

    const CUBOID zero(Vector3{1.0f, 1.0f, 1.0f}, Vector3{0.0f, 0.0f, 0.0f});
    EXPECT_FALSE(ContainsPoint(zero, Vector3{1.0f, 1.0f, 1.0f}));
}

// Catches bounds recomputed from position and size on assignment: they are copied verbatim.
TEST(Object, CopyAssignmentCopiesBoundsVerbatim)
{
    CUBOID source(Vector3{0.0f, 0.0f, 0.0f}, Vector3{2.0f, 2.0f, 2.0f});
    source.min = Vector3{-5.0f, -6.0f, -7.0f}; // deliberately inconsistent with position/size
    source.tag = 42;
    CUBOID target(Vector3{100.0f, 100.0f, 100.0f}, Vector3{1.0f, 1.0f, 1.0f});
    target = source;
    EXPECT_EQ(target.tag, 42);
    EXPECT_EQ(target.min.x, -5.0f);
    EXPECT_EQ(target.min.z, -7.0f);
    EXPECT_EQ(target.max.x, 1.0f);
    EXPECT_EQ(target.position.x, 0.0f);
}

// Catches a base without a virtual destructor (a leak or mismatch the sanitizer would see)
// and lost dynamic type identity.
TEST(Object, ReleasedThroughTheBaseAndKeepsItsDynamicType)
{
    OBJECT *object = new CUBOID(Vector3{0.0f, 0.0f, 0.0f}, Vector3{1.0f, 1.0f, 1.0f});
    EXPECT_NE(dynamic_cast<CUBOID *>(object), nullptr);
    EXPECT_NE(dynamic_cast<IOBJECT_T *>(object), nullptr);
    delete object;
}
