// ARRAYLIST storage: resized to the exact count on every Push and Pop, except that Push fills
// slots Reserve made first.
#include "scene/arraylist.h"

#include <cstdlib>
#include <cstring>
#include <utility>

// realloc to exactly n slots. Shrinking to 0 keeps the one slot the list already has rather
// than freeing it, so a drained list can be refilled without reallocating its first slot.
static OBJECT **ResizeSlots(OBJECT **items, uint64_t n)
{
    if (n == 0) return items;
    return (OBJECT **)std::realloc(items, (size_t)n * sizeof(OBJECT *));
}

static OBJECT **CopySlots(const OBJECT *const *source, uint64_t n)
{
    if (n == 0) return nullptr;
    OBJECT **items = (OBJECT **)std::malloc((size_t)n * sizeof(OBJECT *));
    if (items != nullptr) std::memcpy(items, source, (size_t)n * sizeof(OBJECT *));
    return items;
}

ARRAYLIST::ARRAYLIST(const ARRAYLIST &other) : OBJECT(other)
{
    items = CopySlots(other.items, other.count);
    count = (items != nullptr) ? other.count : 0;
    capacity = count;
}

ARRAYLIST &ARRAYLIST::operator=(const ARRAYLIST &other)
{
    if (this == &other) return *this;
    OBJECT **copy = CopySlots(other.items, other.count);
    std::free(items);
    items = copy;
    count = (copy != nullptr) ? other.count : 0;
    capacity = count;
    return *this;
}

ARRAYLIST::ARRAYLIST(ARRAYLIST &&other) noexcept : OBJECT(other)
{
    std::swap(items, other.items);
    std::swap(count, other.count);
    std::swap(capacity, other.capacity);
}

ARRAYLIST &ARRAYLIST::operator=(ARRAYLIST &&other) noexcept
{
    std::swap(items, other.items);
    std::swap(count, other.count);
    std::swap(capacity, other.capacity);
    return *this;
}

ARRAYLIST::~ARRAYLIST()
{
    std::free(items);
}

void ARRAYLIST::Push(OBJECT *p)
{
    if (count < capacity)
    {
        items[count] = p;
        count += 1;
        return;
    }
    OBJECT **grown = ResizeSlots(items, count + 1);
    if (grown == nullptr) return; // out of memory: the list stays as it was
    items = grown;
    items[count] = p;
    count += 1;
    capacity = count;
}

OBJECT *ARRAYLIST::Pop(void)
{
    OBJECT *last = items[count - 1];
    count -= 1;
    // At 0 the storage is kept as it is (see ResizeSlots), and so is its capacity.
    OBJECT **shrunk = ResizeSlots(items, count);
    if (shrunk != nullptr && count > 0)
    {
        items = shrunk;
        capacity = count;
    }
    return last;
}

void ARRAYLIST::Reserve(uint64_t n)
{
    if (n <= capacity) return;
    OBJECT **grown = (OBJECT **)std::realloc(items, (size_t)n * sizeof(OBJECT *));
    if (grown == nullptr) return; // out of memory: Push grows slot by slot as before
    items = grown;
    capacity = n;
}
