// ARRAYLIST: the program's one container, an ordered list of OBJECT pointers. It never owns
// what it points to. Storage has exactly Count() slots (no spare capacity) unless Reserve
// asked for more, and Pop takes the last pointer first, an order the octree's division
// relies on.
#pragma once

#include <cstdint>

#include "scene/object.h"

class ARRAYLIST : public OBJECT
{
  public:
    ARRAYLIST() = default;
    ARRAYLIST(const ARRAYLIST &other);            // shallow: the same pointers, the objects shared
    ARRAYLIST &operator=(const ARRAYLIST &other); // replaces this list's slots by a copy of other's
    ARRAYLIST(ARRAYLIST &&other) noexcept;            // takes other's slots; other is left empty
    ARRAYLIST &operator=(ARRAYLIST &&other) noexcept; // trades slots with other
    ~ARRAYLIST() override;                       // releases the slots only, never the objects

    uint64_t Count(void) const { return count; }
    // No bounds check: callers keep 0 <= index < Count().
    OBJECT *Get(uint64_t index) const { return items[index]; }
    void Push(OBJECT *p);
    // The caller ensures Count() >= 1.
    OBJECT *Pop(void);
    // Makes room for n pointers in one allocation, so that filling a list whose length is
    // known up front costs no resize per Push. Pop gives the spare slots back.
    void Reserve(uint64_t n);

    OBJECT **items = nullptr;
    uint64_t count = 0;
    uint64_t capacity = 0; // slots the storage has
};
