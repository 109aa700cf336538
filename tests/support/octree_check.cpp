// Octree checker and literal reference model: see octree_check.h.
#include "tests/support/octree_check.h"

#include <cstring>
#include <sstream>
#include <string>
#include <unordered_map>

namespace
{
bool SameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameBits(Vector3 a, Vector3 b)
{
    return SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.z, b.z);
}

std::string Describe(Vector3 v)
{
    std::ostringstream out;
    out.precision(9);
    out << "(" << v.x << ", " << v.y << ", " << v.z << ")";
    return out.str();
}

struct CHECK_T
{
    std::unordered_map<const IOBJECT_T *, int> seen; // expected objects -> times found
    std::vector<std::string> faults;
    OCTREE_STATS_T stats;
    const OCTREE_T *root = nullptr;

    void Fault(const std::string &what)
    {
        if (faults.size() < 20) faults.push_back(what);
    }
};

float Axis(Vector3 v, int k)
{
    return (k == 0) ? v.x : (k == 1) ? v.y : v.z;
}

// The leaf that a point reaches when every child is asked, as the structure promises.
const OCTREE_T *LeafByAskingAll(const OCTREE_T *node, Vector3 p, CHECK_T *check)
{
    while (node->divided)
    {
        const OCTREE_T *hit = nullptr;
        int hits = 0;
        for (int i = 0; i < 8; i++)
        {
            if (node->children[i] != nullptr && ContainsPoint(node->children[i]->box, p))
            {
                hit = node->children[i];
                hits += 1;
            }
        }
        if (hits != 1)
        {
            check->Fault(Describe(p) + " is contained by " + std::to_string(hits) + " children of one node");
            return nullptr;
        }
        node = hit;
    }
    return node;
}

void CheckChildBoxes(const OCTREE_T &node, CHECK_T *check)
{
    const CUBOID &b = node.box;
    const Vector3 half = Vector3Scale(b.size, 0.5f);
    const Vector3 quarter = Vector3Scale(half, 0.5f);
    for (int i = 0; i < 8; i++)
    {
        const CUBOID &c = node.children[i]->box;
        for (int k = 0; k < 3; k++)
        {
            const int sign = OCTANT_SIGNS[i][k];
            const float want_centre = (sign > 0) ? Axis(b.position, k) + Axis(quarter, k)
                                                 : Axis(b.position, k) - Axis(quarter, k);
            if (!SameBits(Axis(c.position, k), want_centre) || !SameBits(Axis(c.size, k), Axis(half, k)))
            {
                check->Fault("child " + std::to_string(i) + " centre or size is off on axis " + std::to_string(k));
            }
            // Outer faces are the parent's own; the child's lower face is the parent's lower
            // face or the split, and the lower and upper siblings meet at the same float.
            const bool lower = (sign < 0) != (Axis(b.size, k) < 0.0f);
            const float outer = lower ? Axis(c.min, k) : Axis(c.max, k);
            if (!SameBits(outer, lower ? Axis(b.min, k) : Axis(b.max, k)))
            {
                check->Fault("child " + std::to_string(i) + " does not keep its parent's outer face");
            }
        }
    }
    // Children 0 and 7 lie on opposite sides on every axis: their inner faces must match.
    const CUBOID &low = node.children[0]->box;
    const CUBOID &high = node.children[7]->box;
    for (int k = 0; k < 3; k++)
    {
        const bool flipped = Axis(b.size, k) < 0.0f;
        const float a = flipped ? Axis(high.max, k) : Axis(low.max, k);
        const float c = flipped ? Axis(low.min, k) : Axis(high.min, k);
        if (!SameBits(a, c)) check->Fault("sibling faces disagree on axis " + std::to_string(k));
    }
}

void Walk(const OCTREE_T &node, int32_t depth, CHECK_T *check)
{
    if (depth > check->stats.deepest) check->stats.deepest = depth;
    if (node.divided > 1) check->Fault("divided is neither 0 nor 1");

    if (node.divided)
    {
        check->stats.inner_nodes += 1;
        if (node.objects.Count() != 0) check->Fault("an inner node holds objects");
        if (node.free_slots != -1) check->Fault("an inner node's free_slots is not -1");
        for (int i = 0; i < 8; i++)
        {
            if (node.children[i] == nullptr)
            {
                check->Fault("an inner node lacks a child");
                return;
            }
            if (node.children[i]->parent != &node) check->Fault("a child's parent link is wrong");
            if (node.children[i]->capacity != node.capacity) check->Fault("a child's capacity differs");
        }
        CheckChildBoxes(node, check);
        for (int i = 0; i < 8; i++) Walk(*node.children[i], depth + 1, check);
        return;
    }

    check->stats.leaves += 1;
    for (int i = 0; i < 8; i++)
    {
        if (node.children[i] != nullptr) check->Fault("a leaf has a child");
    }
    const uint64_t count = node.objects.Count();
    const uint64_t full = (uint64_t)node.capacity + 1;
    if (count > full)
    {
        if (depth != OCTREE_MAX_DEPTH) check->Fault("a leaf above the depth guard holds more than capacity + 1");
        check->stats.guard_leaves += 1;
        if (node.free_slots != -1) check->Fault("an over-full leaf's free_slots is not -1");
    }
    else if ((int64_t)node.free_slots != (int64_t)node.capacity - (int64_t)count)
    {
        check->Fault("free_slots is not capacity minus the objects held");
    }

    for (uint64_t j = 0; j < count; j++)
    {
        const IOBJECT_T *object = (const IOBJECT_T *)node.objects.Get(j);
        check->stats.objects += 1;
        auto found = check->seen.find(object);
        if (found == check->seen.end())
        {
            check->Fault("the tree holds an object it was not expected to hold");
            continue;
        }
        found->second += 1;
        if (!ContainsPoint(node.box, object->position))
        {
            check->Fault(Describe(object->position) + " sits in a leaf whose box does not contain it");
        }
        if (LeafByAskingAll(check->root, object->position, check) != &node)
        {
            check->Fault(Describe(object->position) + " is not in the leaf that asking every child finds");
        }
    }
}

::testing::AssertionResult Compare(const OCTREE_T &tree, const REFERENCE_NODE_T &reference, const std::string &path)
{
    if ((tree.divided != 0) != reference.divided) return ::testing::AssertionFailure() << path << ": divided differs";
    if (!SameBits(tree.box.position, reference.box.position) || !SameBits(tree.box.size, reference.box.size) ||
        !SameBits(tree.box.min, reference.box.min) || !SameBits(tree.box.max, reference.box.max))
    {
        return ::testing::AssertionFailure() << path << ": box differs";
    }
    if (tree.free_slots != reference.free_slots) return ::testing::AssertionFailure() << path << ": free_slots differs";
    if (tree.divided)
    {
        for (int i = 0; i < 8; i++)
        {
            ::testing::AssertionResult child =
                Compare(*tree.children[i], *reference.children[i], path + "/" + std::to_string(i));
            if (!child) return child;
        }
        return ::testing::AssertionSuccess();
    }
    if (tree.objects.Count() != reference.objects.size())
    {
        return ::testing::AssertionFailure() << path << ": holds " << tree.objects.Count() << " objects, not "
                                             << reference.objects.size();
    }
    for (size_t j = 0; j < reference.objects.size(); j++)
    {
        if (tree.objects.Get(j) != reference.objects[j])
        {
            return ::testing::AssertionFailure() << path << ": object " << j << " differs";
        }
    }
    return ::testing::AssertionSuccess();
}
} // namespace

::testing::AssertionResult OctreeHoldsExactly(const OCTREE_T &root, const std::vector<const IOBJECT_T *> &expected,
                                              OCTREE_STATS_T *stats)
{
    CHECK_T check;
    check.root = &root;
    for (const IOBJECT_T *object : expected)
    {
        if (!check.seen.emplace(object, 0).second) return ::testing::AssertionFailure() << "expected holds duplicates";
    }
    Walk(root, OctreeDepth(&root), &check);
    for (const auto &entry : check.seen)
    {
        if (entry.second == 0) check.Fault(Describe(entry.first->position) + " was lost");
        if (entry.second > 1) check.Fault(Describe(entry.first->position) + " is stored more than once");
    }
    if (stats != nullptr) *stats = check.stats;
    if (check.faults.empty()) return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    for (const std::string &fault : check.faults) failure << fault << "\n";
    return failure;
}

void CollectLeaves(const OCTREE_T &node, std::vector<const OCTREE_T *> *leaves)
{
    if (!node.divided)
    {
        leaves->push_back(&node);
        return;
    }
    for (int i = 0; i < 8; i++)
    {
        if (node.children[i] != nullptr) CollectLeaves(*node.children[i], leaves);
    }
}

void REFERENCE_NODE_T::Insert(const IOBJECT_T *object)
{
    if (!ContainsPoint(box, object->position)) return;
    if (free_slots >= 0)
    {
        objects.push_back(object);
        free_slots -= 1;
        return;
    }
    if (!divided)
    {
        const Vector3 half = Vector3Scale(box.size, 0.5f);
        const Vector3 quarter = Vector3Scale(half, 0.5f);
        for (int i = 0; i < 8; i++)
        {
            const Vector3 offset = Vector3{OCTANT_SIGNS[i][0] * quarter.x, OCTANT_SIGNS[i][1] * quarter.y,
                                           OCTANT_SIGNS[i][2] * quarter.z};
            children[i] = std::make_unique<REFERENCE_NODE_T>(CUBOID(Vector3Add(box.position, offset), half), capacity);
        }
        divided = true;
        while (!objects.empty())
        {
            const IOBJECT_T *held = objects.back();
            objects.pop_back();
            for (int k = 0; k < 8; k++) children[k]->Insert(held);
        }
    }
    for (int k = 0; k < 8; k++) children[k]->Insert(object);
}

::testing::AssertionResult SameTree(const OCTREE_T &tree, const REFERENCE_NODE_T &reference)
{
    return Compare(tree, reference, "root");
}

FRUSTUM_T EverythingVisible(void)
{
    FRUSTUM_T frustum;
    for (int i = 0; i < 8; i++) frustum.corners[i] = Vector3{(i & 1) ? 1e30f : -1e30f, (i & 2) ? 1e30f : -1e30f,
                                                             (i & 4) ? 1e30f : -1e30f};
    return frustum;
}

std::vector<FRUSTUM_T> RandomFrusta(std::mt19937 *rng, int n, std::vector<Vector3> *eyes)
{
    std::uniform_real_distribution<float> at(-600.0f, 600.0f), angle(20.0f, 170.0f);
    std::vector<FRUSTUM_T> frusta(n);
    for (FRUSTUM_T &frustum : frusta)
    {
        frustum.SetInternals(angle(*rng), 1366.0f / 768.0f, 1.0f, 100000.0f);
        const Camera3D camera = {Vector3{at(*rng), at(*rng) / 3.0f, at(*rng)},
                                 Vector3{at(*rng) / 4.0f, 0.0f, at(*rng) / 4.0f}, Vector3{0.0f, 1.0f, 0.0f}, 90.0f,
                                 CAMERA_PERSPECTIVE};
        frustum.Update(camera);
        if (eyes != nullptr) eyes->push_back(camera.position);
    }
    return frusta;
}

namespace
{
bool SameBox(const CUBOID &a, const CUBOID &b)
{
    return SameBits(a.position, b.position) && SameBits(a.size, b.size) && SameBits(a.min, b.min) &&
           SameBits(a.max, b.max);
}

const FRUSTUM_T EVERYTHING_VISIBLE = EverythingVisible();

void CollectArrayLeaf(const ARRAY_OCTREE_NODE_T &leaf, void *context)
{
    ((std::vector<const ARRAY_OCTREE_NODE_T *> *)context)->push_back(&leaf);
}

void CollectIncrementalLeaf(const OCTREE_T *leaf, void *context)
{
    ((std::vector<const OCTREE_T *> *)context)->push_back(leaf);
}

::testing::AssertionResult SameLeaves(const ARRAY_OCTREE_T &tree, const std::vector<const ARRAY_OCTREE_NODE_T *> &mine,
                                      const std::vector<const OCTREE_T *> &theirs)
{
    if (mine.size() != theirs.size()) return ::testing::AssertionFailure() << mine.size() << " leaves, not " << theirs.size();
    for (size_t j = 0; j < mine.size(); j++)
    {
        const ARRAY_OCTREE_NODE_T &leaf = *mine[j];
        if (!SameBox(leaf.box, theirs[j]->box)) return ::testing::AssertionFailure() << "leaf " << j << ": box differs";
        if (leaf.count != theirs[j]->objects.Count())
        {
            return ::testing::AssertionFailure() << "leaf " << j << " holds " << leaf.count << " stars, not "
                                                 << theirs[j]->objects.Count();
        }
        for (uint32_t k = 0; k < leaf.count; k++)
        {
            const IOBJECT_T *object = (const IOBJECT_T *)theirs[j]->objects.Get(k);
            if (tree.draw_order[leaf.first + k] != (uint32_t)object->tag ||
                !SameBits(tree.draw_positions[leaf.first + k], object->position))
            {
                return ::testing::AssertionFailure() << "leaf " << j << ": star " << k << " differs";
            }
        }
    }
    return ::testing::AssertionSuccess();
}
} // namespace

::testing::AssertionResult SameCellsAsInsertion(const ARRAY_OCTREE_T &tree, const std::vector<Vector3> &positions,
                                                const std::vector<FRUSTUM_T> &frusta, OCTREE_STATS_T *stats)
{
    OCTREE_T incremental(tree.box, tree.capacity);
    std::vector<const IOBJECT_T *> accepted;
    for (size_t k = 0; k < positions.size(); k++)
    {
        IOBJECT_T *copy = new IOBJECT_T(positions[k], Vector3{1.0f, 1.0f, 1.0f});
        copy->tag = (int32_t)k;
        if (!ContainsPoint(incremental.box, copy->position))
        {
            delete copy; // refused: it stays with us
            continue;
        }
        incremental.Insert(copy);
        accepted.push_back(copy);
    }
    ::testing::AssertionResult sound = OctreeHoldsExactly(incremental, accepted, stats);
    if (!sound) return sound;
    if (tree.draw_order.size() != accepted.size() || tree.draw_positions.size() != accepted.size())
    {
        return ::testing::AssertionFailure() << "indexes " << tree.draw_order.size() << " stars, not "
                                             << accepted.size();
    }

    std::vector<const ARRAY_OCTREE_NODE_T *> mine;
    std::vector<const OCTREE_T *> theirs;
    CollectLeaves(incremental, &theirs);
    tree.VisitVisibleLeaves(EVERYTHING_VISIBLE, CollectArrayLeaf, &mine);
    for (size_t j = 0; j < mine.size(); j++)
    {
        if (mine[j]->leaf != j) return ::testing::AssertionFailure() << "leaf ordinals are not 0, 1, 2, ...";
    }
    if (tree.LeafCount() != mine.size()) return ::testing::AssertionFailure() << "leaf count is off";
    ::testing::AssertionResult same = SameLeaves(tree, mine, theirs);
    if (!same) return same;

    for (size_t f = 0; f < frusta.size(); f++)
    {
        mine.clear();
        theirs.clear();
        const uint64_t a = tree.VisitVisibleLeaves(frusta[f], CollectArrayLeaf, &mine);
        const uint64_t b = incremental.VisitVisibleLeaves(frusta[f], CollectIncrementalLeaf, &theirs);
        if (a != b) return ::testing::AssertionFailure() << "frustum " << f << ": " << a << " visible, not " << b;
        same = SameLeaves(tree, mine, theirs);
        if (!same) return same << " (visible, frustum " << f << ")";
    }
    return ::testing::AssertionSuccess();
}
