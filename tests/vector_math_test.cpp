// The shared value types and vector operations that the frustum and octree build on.
#include <gtest/gtest.h>

#include "scene/vector_math.h"

// Catches a division by zero (NaN) on the zero vector.
TEST(VectorMath, NormalizeZeroVectorStaysZero)
{
    const Vector3 n = Vector3Normalize(Vector3{0.0f, 0.0f, 0.0f});
    EXPECT_EQ(n.x, 0.0f);
    EXPECT_EQ(n.y, 0.0f);
    EXPECT_EQ(n.z, 0.0f);
}

// Catches a wrong length or a scale by the length instead of its inverse.
TEST(VectorMath, NormalizeScalesToUnitLength)
{
    const Vector3 n = Vector3Normalize(Vector3{3.0f, 0.0f, 4.0f});
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_EQ(n.y, 0.0f);
    EXPECT_FLOAT_EQ(n.z, 0.8f);
    EXPECT_FLOAT_EQ(Vector3Length(n), 1.0f);
}

// Catches swapped operands: the frustum's inward normals depend on the order.
TEST(VectorMath, CrossProductIsOrdered)
{
    const Vector3 x = Vector3{1.0f, 0.0f, 0.0f};
    const Vector3 y = Vector3{0.0f, 1.0f, 0.0f};
    const Vector3 z = Vector3CrossProduct(x, y);
    EXPECT_EQ(z.x, 0.0f);
    EXPECT_EQ(z.y, 0.0f);
    EXPECT_EQ(z.z, 1.0f);
    EXPECT_EQ(Vector3CrossProduct(y, x).z, -1.0f);
}

// Catches operations that modify their arguments or mix up components.
TEST(VectorMath, ArithmeticIsComponentWise)
{
    const Vector3 a = Vector3{1.0f, -2.0f, 3.0f};
    const Vector3 b = Vector3{0.5f, 4.0f, -1.0f};
    const Vector3 sum = Vector3Add(a, b);
    const Vector3 diff = Vector3Subtract(a, b);
    const Vector3 scaled = Vector3Scale(a, 2.0f);
    const Vector3 negated = Vector3Negate(a);
    EXPECT_EQ(sum.x, 1.5f);
    EXPECT_EQ(sum.y, 2.0f);
    EXPECT_EQ(sum.z, 2.0f);
    EXPECT_EQ(diff.x, 0.5f);
    EXPECT_EQ(diff.y, -6.0f);
    EXPECT_EQ(diff.z, 4.0f);
    EXPECT_EQ(scaled.y, -4.0f);
    EXPECT_EQ(negated.x, -1.0f);
    EXPECT_EQ(negated.z, -3.0f);
    EXPECT_EQ(Vector3DotProduct(a, b), 0.5f - 8.0f - 3.0f);
    EXPECT_EQ(a.x, 1.0f); // unchanged
}

// Catches a default that is not all zeros, and a colour whose alpha is not passed through
// (the octree's wire boxes are drawn at alpha 16).
TEST(VectorMath, ValuesAreZeroByDefaultAndKeepEveryField)
{
    const Vector3 v = {};
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_EQ(v.z, 0.0f);
    const Color none = {};
    EXPECT_EQ(none.a, 0);
    const Color faint = Color{255, 255, 255, 16};
    EXPECT_EQ(faint.r, 255);
    EXPECT_EQ(faint.a, 16);
    const Rectangle r = Rectangle{20.0f, 528.0f, 220.0f, 220.0f};
    EXPECT_EQ(r.y, 528.0f);
    EXPECT_EQ(r.height, 220.0f);
}
