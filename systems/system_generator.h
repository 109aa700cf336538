// System assembly: turns a zero-state SYSTEM_T into a finished system with its galaxy
// position, one or two generated stars and a name.
#pragma once

#include <cstdint>

#include "scene/vector_math.h"
#include "systems/stellar_object.h"

// The system must have no star array yet; star_count must be 1 or 2. The name is made from
// the system's name_seed (0 unless the caller set one). Planets are not generated here.
void GenerateSystem(SYSTEM_T *system, uint32_t star_count, Vector3 position);
