// The search for a habitable planet across groups of generated systems, and the records it
// walks and returns. Reads the planets only; no dice.
#pragma once

#include <cstdint>

#include "scene/arraylist.h"
#include "systems/stellar_object.h"

// A member of the groups FindHabitablePlanet walks: it begins with its list of SYSTEM_T.
class SYSTEM_GROUP_T : public OBJECT
{
  public:
    ARRAYLIST *systems = nullptr; // SYSTEM_T pointers, not owned
};

// One separately allocated index of FindHabitablePlanet's result.
class INDEX_T : public OBJECT
{
  public:
    explicit INDEX_T(int64_t value) : value(value) {}
    int64_t value = 0;
};

// (group, system, star, planet) of the first planet in the habitable zone of kind 2 or 3,
// walking every level in order; prints "found" when there is one. Four zeros when there is
// none. groups holds SYSTEM_GROUP_T pointers. The caller releases the entries with
// FreeIndexList.
ARRAYLIST FindHabitablePlanet(const ARRAYLIST &groups);
void FreeIndexList(ARRAYLIST *list);
