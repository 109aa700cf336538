// ARRAYLIST: order, sharing and (non-)ownership of the pointers it holds.
#include <gtest/gtest.h>

#include "scene/arraylist.h"

// Catches FIFO order or a count that is off after draining; the octree's division depends
// on last-in, first-out.
TEST(ArrayList, PopReturnsPointersLastInFirstOut)
{
    IOBJECT_T a, b, c;
    ARRAYLIST list;
    EXPECT_EQ(list.Count(), 0u);
    list.Push(&a);
    list.Push(&b);
    list.Push(&c);
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.Get(0), &a);
    EXPECT_EQ(list.Get(2), &c);
    EXPECT_EQ(list.Pop(), &c);
    EXPECT_EQ(list.Pop(), &b);
    EXPECT_EQ(list.Pop(), &a);
    EXPECT_EQ(list.Count(), 0u);

    list.Push(&b); // a drained list is reusable
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.Get(0), &b);
}

// Catches null treated as "no item".
TEST(ArrayList, NullPointersAreStoredLikeAnyOther)
{
    ARRAYLIST list;
    list.Push(nullptr);
    list.Push(nullptr);
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.Pop(), nullptr);
    EXPECT_EQ(list.Count(), 1u);
}

// Catches deep copies, shared storage between copies (a double free under the sanitizer)
// and copies that alias the source's count.
TEST(ArrayList, CopiesAreShallowButIndependent)
{
    IOBJECT_T a, b;
    ARRAYLIST list;
    list.Push(&a);
    list.Push(&b);

    ARRAYLIST copy(list);
    ASSERT_EQ(copy.Count(), 2u);
    EXPECT_EQ(copy.Get(0), &a);
    EXPECT_EQ(copy.Pop(), &b);
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.Get(1), &b);

    ARRAYLIST assigned;
    assigned.Push(&b);
    assigned = list;
    ASSERT_EQ(assigned.Count(), 2u);
    EXPECT_EQ(assigned.Get(0), &a);
    assigned = assigned; // self-assignment keeps the list
    EXPECT_EQ(assigned.Count(), 2u);

    ARRAYLIST empty;
    assigned = empty;
    EXPECT_EQ(assigned.Count(), 0u);
}

// Catches a list that releases its objects: they must outlive it (the sanitizer would
// report a double free or use after free here).
TEST(ArrayList, DestroyingAListLeavesItsObjectsAlive)
{
    IOBJECT_T *object = new IOBJECT_T(Vector3{1.0f, 2.0f, 3.0f}, Vector3{1.0f, 1.0f, 1.0f});
    {
        ARRAYLIST list;
        list.Push(object);
        list.Push(object);
    }
    EXPECT_EQ(object->position.y, 2.0f);
    delete object;
}

// Catches storage that is not grown per push, and reserved slots miscounted when pushing past
// them, popping below them or reserving again (writes past the end show under ASan).
TEST(ArrayList, HoldsThousandsInOrder)
{
    IOBJECT_T objects[64];
    for (uint64_t reserve : {0, 3000, 5000})
    {
        ARRAYLIST list;
        list.Reserve(reserve);
        for (int i = 0; i < 5000; i++) list.Push(&objects[i % 64]);
        ASSERT_EQ(list.Count(), 5000u);
        for (int i = 4999; i >= 2000; i--) ASSERT_EQ(list.Pop(), &objects[i % 64]);
        list.Reserve(2500);
        for (int i = 2000; i < 4000; i++) list.Push(&objects[i % 64]);
        for (int i = 3999; i >= 0; i--) ASSERT_EQ(list.Pop(), &objects[i % 64]);
        EXPECT_EQ(list.Count(), 0u);
    }
}
