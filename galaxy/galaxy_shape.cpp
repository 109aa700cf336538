// Building and comparing galaxy shapes.
#include "galaxy/galaxy_shape.h"

GALAXY_SHAPE_T DefaultGalaxyShape(void)
{
    GALAXY_SHAPE_T shape = MakeGalaxyShape(4, 20, -100, 60, 20, 48, 63, 252);
    shape.seed = 1;
    return shape;
}

GALAXY_SHAPE_T MakeGalaxyShape(int32_t arms, int32_t curvature, int32_t inner_radius, int32_t bulge_offset0,
                               int32_t bulge_offset1, int32_t bulge_size, int32_t size_y, int32_t size_xz,
                               int32_t density)
{
    GALAXY_SHAPE_T shape;
    shape.arms = arms;
    shape.curvature = curvature;
    shape.inner_radius = inner_radius;
    shape.bulge_offset0 = bulge_offset0;
    shape.bulge_offset1 = bulge_offset1;
    shape.bulge_size = bulge_size;
    shape.size_y = size_y;
    shape.size_xz = size_xz;
    shape.density = density;
    return shape;
}

bool operator==(const GALAXY_SHAPE_T &a, const GALAXY_SHAPE_T &b)
{
    return a.seed == b.seed && a.size_xz == b.size_xz && a.size_y == b.size_y && a.inner_radius == b.inner_radius &&
           a.bulge_size == b.bulge_size && a.bulge_offset0 == b.bulge_offset0 && a.bulge_offset1 == b.bulge_offset1 &&
           a.arms == b.arms && a.curvature == b.curvature && a.density == b.density && a.model == b.model &&
           a.pitch == b.pitch && a.bulge_share == b.bulge_share && a.bar_length == b.bar_length &&
           a.arm_width == b.arm_width && a.arm_contrast == b.arm_contrast;
}
