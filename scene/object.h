// The root of the object family and the positioned objects the octree stores.
// OBJECT gives every class run-time type identity and a virtual destructor, nothing else;
// IOBJECT_T has a place and an extent; CUBOID also keeps its axis-aligned bounds.
#pragma once

#include <cstdint>

#include "scene/vector_math.h"

class OBJECT
{
  public:
    OBJECT() = default;
    OBJECT(const OBJECT &) = default;
    OBJECT &operator=(const OBJECT &) = default;
    virtual ~OBJECT() = default;
};

class IOBJECT_T : public OBJECT
{
  public:
    IOBJECT_T() = default;
    IOBJECT_T(Vector3 position, Vector3 size) : position(position), size(size) {}

    int32_t tag = 0;         // carried along, never interpreted
    Vector3 position = {};   // centre, world units
    Vector3 size = {};       // full extent per axis, not a half-extent
};

class CUBOID : public IOBJECT_T
{
  public:
    CUBOID() = default;
    // min/max are derived once here; nothing recomputes them from position and size later,
    // and copy assignment copies them verbatim.
    CUBOID(Vector3 position, Vector3 size);

    Vector3 min = {};
    Vector3 max = {};
};

// Half-open on every axis: min <= p < max. A point on an upper face belongs to the box
// above; a NaN coordinate is never contained.
inline bool ContainsPoint(const CUBOID &box, Vector3 p)
{
    return box.min.x <= p.x && p.x < box.max.x && box.min.y <= p.y && p.y < box.max.y && box.min.z <= p.z &&
           p.z < box.max.z;
}
