// The octree on screen: the culled leaf walk with a visitor that draws. Only this file calls
// raylib's drawing for the tree, so the walk and its counting test without a GPU context.
#include "octree/octree.h"

namespace
{
// Object cubes have this edge whatever the object's own size, in world units.
constexpr float OBJECT_CUBE_EDGE = 0.5f;

void DrawLeaf(const OCTREE_T *leaf, void *context)
{
    const Color color = *(const Color *)context;
    // The box is drawn before its objects; the objects use the same colour, opaque.
    DrawCubeWiresV(leaf->box.position, leaf->box.size, color);
    const Color solid = Color{color.r, color.g, color.b, 255};
    const uint64_t count = leaf->objects.Count();
    for (uint64_t j = 0; j < count; j++)
    {
        const IOBJECT_T *object = (const IOBJECT_T *)leaf->objects.Get(j);
        DrawCube(object->position, OBJECT_CUBE_EDGE, OBJECT_CUBE_EDGE, OBJECT_CUBE_EDGE, solid);
    }
}
} // namespace

void OCTREE_T::Draw(const FRUSTUM_T &frustum, Color color) const
{
    CountDrawnObjects(VisitVisibleLeaves(frustum, DrawLeaf, &color));
}
