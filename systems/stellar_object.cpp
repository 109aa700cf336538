// Record arrays of the star-system model: one zero-filled block per owner, and the
// Allocate/Free pairs that hand them out and release them with what their records own.
#include "systems/stellar_object.h"

#include <cstddef>
#include <cstdlib>
#include <new>

namespace
{
// Each block starts with a small header that remembers how many records it really holds.
// An owner's count can later differ from its block (Allocate on an owner that already has
// an array only changes the count), and releasing by the owner's count would then run past
// the block or leak what the extra records own.
constexpr size_t HEADER_SIZE = alignof(std::max_align_t);

uint32_t *BlockHeader(void *records)
{
    return reinterpret_cast<uint32_t *>(static_cast<unsigned char *>(records) - HEADER_SIZE);
}

// The block comes zero-filled from the allocator and each record is then constructed in place,
// which zeroes its fields again and gives it its type identity: a bare zero-filled block would
// have no valid objects in it, and reading one would be undefined. Released as one block.
template <typename RECORD> RECORD *NewRecords(uint32_t count)
{
    static_assert(alignof(RECORD) <= HEADER_SIZE, "records must fit the block header's alignment");
    if (count == 0) return nullptr;
    unsigned char *block =
        static_cast<unsigned char *>(std::calloc(1, HEADER_SIZE + (size_t)count * sizeof(RECORD)));
    if (block == nullptr) return nullptr;
    *reinterpret_cast<uint32_t *>(block) = count;
    RECORD *records = reinterpret_cast<RECORD *>(block + HEADER_SIZE);
    for (uint32_t i = 0; i < count; i++)
        new (&records[i]) RECORD();
    return records;
}

template <typename RECORD> void DeleteRecords(RECORD *records)
{
    if (records == nullptr) return;
    uint32_t *header = BlockHeader(records);
    for (uint32_t i = 0; i < *header; i++)
        records[i].~RECORD();
    std::free(header);
}
} // namespace

uint32_t RecordBlockCount(const void *records)
{
    if (records == nullptr) return 0;
    return *BlockHeader(const_cast<void *>(records));
}

STAR_T *NewStarRecords(uint32_t count)
{
    return NewRecords<STAR_T>(count);
}

void DeleteStarRecords(STAR_T *records)
{
    DeleteRecords(records);
}

PLANET_T *NewPlanetRecords(uint32_t count)
{
    return NewRecords<PLANET_T>(count);
}

void DeletePlanetRecords(PLANET_T *records)
{
    DeleteRecords(records);
}

MOON_T *NewMoonRecords(uint32_t count)
{
    return NewRecords<MOON_T>(count);
}

void DeleteMoonRecords(MOON_T *records)
{
    DeleteRecords(records);
}

// An owner that already has an array releases it (with everything its records own) and gets a
// fresh one: keeping the old block under a new, larger count would send every walker past it.
SYSTEM_T *AllocateStars(SYSTEM_T *system, uint32_t count)
{
    FreeStars(system);
    if (count != 0) system->stars = NewStarRecords(count);
    system->star_count = count;
    return system;
}

SYSTEM_T *FreeStars(SYSTEM_T *system)
{
    if (system->stars != nullptr)
    {
        const uint32_t held = RecordBlockCount(system->stars);
        for (uint32_t i = 0; i < held; i++)
            FreePlanets(&system->stars[i]);
        DeleteStarRecords(system->stars);
    }
    system->stars = nullptr;
    system->star_count = 0;
    return system;
}

STAR_T *AllocatePlanets(STAR_T *star, uint32_t count)
{
    FreePlanets(star);
    if (count != 0) star->planets = NewPlanetRecords(count);
    star->planet_count = count;
    return star;
}

STAR_T *FreePlanets(STAR_T *star)
{
    if (star->planets != nullptr)
    {
        const uint32_t held = RecordBlockCount(star->planets);
        for (uint32_t i = 0; i < held; i++)
            FreeMoons(&star->planets[i]);
        DeletePlanetRecords(star->planets);
    }
    star->planets = nullptr;
    star->planet_count = 0;
    return star;
}

PLANET_T *AllocateMoons(PLANET_T *planet, uint32_t count)
{
    FreeMoons(planet);
    if (count != 0) planet->moons = NewMoonRecords(count);
    planet->moon_count = count;
    return planet;
}

PLANET_T *FreeMoons(PLANET_T *planet)
{
    if (planet->moons != nullptr) DeleteMoonRecords(planet->moons);
    planet->moons = nullptr;
    planet->moon_count = 0;
    return planet;
}
