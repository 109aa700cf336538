// The value types and vector operations that the scene, the octree, the frustum and the
// frame loop share. They are raylib's own (raylib.h, raymath.h); this header is the one
// place the rest of the program includes them from.
//
// Values are built by aggregate initialisation with every field in declaration order
// (Vector3{x, y, z}, Color{r, g, b, a}); an empty brace gives all zeros. Every operation
// takes its arguments by value, returns a new value, and rounds each component to float.
// Vector3Normalize treats a length of exactly 0 as 1, so the zero vector normalises to
// itself instead of dividing by zero.
#pragma once

#include "raylib.h"
#include "raymath.h"
