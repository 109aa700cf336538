// The pick walks the tree with the camera's own frame (forward, right, up) instead of
// matrices: a point's depth and screen place are three dot products, which is what raylib's
// perspective projection amounts to.
#include "octree/array_octree_pick.h"

#include <cmath>

namespace
{
// raylib's projection in BeginMode3D.
constexpr float PICK_NEAR = 0.01f;
constexpr float PICK_FAR = 1000.0f;

struct CAMERA_FRAME_T
{
    Vector3 eye, forward, right, up;
    float tan_half;       // tan(fovy / 2)
    float aspect;         // width / height
    float half_width, half_height;
    float centre_x;       // where the view's axis meets the screen, pixels from the left
};

bool MakeFrame(const PICK_VIEW_T &view, CAMERA_FRAME_T *frame)
{
    if (view.width <= 0 || view.height <= 0) return false;
    const Camera3D &camera = view.camera;
    const Vector3 forward = Vector3Subtract(camera.target, camera.position);
    const Vector3 right = Vector3CrossProduct(forward, camera.up);
    const float tan_half = std::tan(camera.fovy * 0.5f * DEG2RAD);
    if (!(Vector3Length(forward) > 0.0f) || !(Vector3Length(right) > 0.0f) || !(tan_half > 0.0f) ||
        !std::isfinite(tan_half))
        return false;
    frame->eye = camera.position;
    frame->forward = Vector3Normalize(forward);
    frame->right = Vector3Normalize(right);
    frame->up = Vector3CrossProduct(frame->right, frame->forward);
    frame->tan_half = tan_half;
    frame->aspect = (float)view.width / (float)view.height;
    frame->half_width = 0.5f * (float)view.width;
    frame->half_height = 0.5f * (float)view.height;
    frame->centre_x = frame->half_width + view.shift_x;
    return std::isfinite(view.shift_x) && std::isfinite(frame->eye.x) && std::isfinite(frame->eye.y) && std::isfinite(frame->eye.z);
}

bool Project(const CAMERA_FRAME_T &frame, Vector3 point, Vector2 *screen, float *depth)
{
    const Vector3 d = Vector3Subtract(point, frame.eye);
    const float z = Vector3DotProduct(d, frame.forward);
    if (!(z > PICK_NEAR && z < PICK_FAR)) return false;
    const float x = Vector3DotProduct(d, frame.right) / (z * frame.tan_half * frame.aspect);
    const float y = Vector3DotProduct(d, frame.up) / (z * frame.tan_half);
    *screen = Vector2{frame.centre_x + frame.half_width * x, frame.half_height * (1.0f - y)};
    *depth = z;
    return true;
}

// Unit direction from the eye through the pointer: Project undone at unit depth.
Vector3 RayThrough(const CAMERA_FRAME_T &f, Vector2 pointer)
{
    const float x = ((pointer.x - f.centre_x) / f.half_width) * f.tan_half * f.aspect;
    const float y = (1.0f - pointer.y / f.half_height) * f.tan_half;
    return Vector3Normalize(Vector3Add(f.forward, Vector3Add(Vector3Scale(f.right, x), Vector3Scale(f.up, y))));
}

struct PICK_WALK_T
{
    const ARRAY_OCTREE_T *tree;
    CAMERA_FRAME_T frame;
    Vector2 pointer;
    float radius;
    Vector3 ray;             // unit direction through the pointer
    float spread_per_unit;   // how far from the ray a star `radius` pixels off may lie, per unit of depth
    STAR_PICK_T best;
};

// A star radius pixels off the pointer at depth z lies at most radius * z * (world per pixel
// at unit depth) from the ray; z is at most the distance to the cell's bounding sphere's far
// side. Cells whose sphere stays farther than that from the ray cannot hold a pick.
bool CellNearRay(const PICK_WALK_T &walk, const CUBOID &box)
{
    const Vector3 to_centre = Vector3Subtract(box.position, walk.frame.eye);
    const float half_diagonal = 0.5f * Vector3Length(box.size);
    const float along_view = Vector3DotProduct(to_centre, walk.frame.forward);
    if (along_view + half_diagonal <= PICK_NEAR || along_view - half_diagonal >= PICK_FAR) return false;
    const float along_ray = Vector3DotProduct(to_centre, walk.ray);
    const Vector3 off_ray = Vector3Subtract(to_centre, Vector3Scale(walk.ray, along_ray));
    const float reach = half_diagonal + walk.spread_per_unit * (Vector3Length(to_centre) + half_diagonal);
    return Vector3Length(off_ray) <= reach;
}

void Walk(PICK_WALK_T *walk, uint32_t index)
{
    const ARRAY_OCTREE_NODE_T &node = walk->tree->nodes[index];
    if (node.count == 0 || !CellNearRay(*walk, node.box)) return;
    if (node.children != 0)
    {
        for (uint32_t c = 0; c < 8; c++) Walk(walk, node.children + c);
        return;
    }
    for (uint32_t k = node.first; k < node.first + node.count; k++)
    {
        Vector2 screen;
        float depth;
        if (!Project(walk->frame, walk->tree->draw_positions[k], &screen, &depth)) continue;
        const float pixels = Vector2Distance(screen, walk->pointer);
        if (!(pixels <= walk->radius)) continue;
        STAR_PICK_T &best = walk->best;
        if (!best.found || pixels < best.pixels || (pixels == best.pixels && depth < best.depth))
            best = STAR_PICK_T{true, walk->tree->draw_order[k], pixels, depth};
    }
}
} // namespace

Matrix PickViewProjection(const PICK_VIEW_T &view)
{
    CAMERA_FRAME_T frame;
    if (!MakeFrame(view, &frame)) return MatrixIdentity();
    // raylib's frustum, its window slid against the shift: a point on the axis lands
    // shift_x pixels right of the middle, every other point with it.
    const double top = PICK_NEAR * std::tan(view.camera.fovy * 0.5 * DEG2RAD);
    const double right = top * (double)frame.aspect;
    const double slide = right * 2.0 * (double)view.shift_x / (double)view.width;
    return MatrixFrustum(-right - slide, right - slide, -top, top, PICK_NEAR, PICK_FAR);
}

bool PickViewRay(const PICK_VIEW_T &view, Vector2 pointer, Ray *ray)
{
    CAMERA_FRAME_T frame;
    if (!MakeFrame(view, &frame) || !std::isfinite(pointer.x) || !std::isfinite(pointer.y)) return false;
    *ray = Ray{frame.eye, RayThrough(frame, pointer)};
    return true;
}

bool ProjectToScreen(const PICK_VIEW_T &view, Vector3 point, Vector2 *screen, float *depth)
{
    CAMERA_FRAME_T frame;
    return MakeFrame(view, &frame) && Project(frame, point, screen, depth);
}

STAR_PICK_T PickStar(const ARRAY_OCTREE_T &tree, const PICK_VIEW_T &view, Vector2 pointer, float radius)
{
    PICK_WALK_T walk = {};
    walk.tree = &tree;
    if (!MakeFrame(view, &walk.frame) || !std::isfinite(pointer.x) || !std::isfinite(pointer.y) ||
        !(radius >= 0.0f) || tree.nodes.empty())
        return STAR_PICK_T{};
    walk.pointer = pointer;
    walk.radius = radius;
    const CAMERA_FRAME_T &f = walk.frame;
    walk.ray = RayThrough(f, pointer);
    // A pixel spans 2 tan(fovy/2) / height world units at unit depth; a little slack covers rounding.
    walk.spread_per_unit = 1.01f * radius * 2.0f * f.tan_half / (float)view.height;
    Walk(&walk, 0);
    return walk.best;
}
