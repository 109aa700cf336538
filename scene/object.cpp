// CUBOID construction: bounds from centre and full size.
#include "scene/object.h"

#include <utility>

// Each bound is formed in double and rounded once to float. A negative extent gives the same
// box as its absolute value: the bounds are exchanged per axis.
static void AxisBounds(float position, float size, float *min, float *max)
{
    *min = (float)((double)position - (double)size * 0.5);
    *max = (float)((double)position + (double)size * 0.5);
    if (*min > *max) std::swap(*min, *max);
}

CUBOID::CUBOID(Vector3 position, Vector3 size) : IOBJECT_T(position, size)
{
    AxisBounds(position.x, size.x, &min.x, &max.x);
    AxisBounds(position.y, size.y, &min.y, &max.y);
    AxisBounds(position.z, size.z, &min.z, &max.z);
}
