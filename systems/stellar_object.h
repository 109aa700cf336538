// The data of a star system: STELLAR_OBJECT_T and its kinds SYSTEM_T, STAR_T, PLANET_T and
// MOON_T, the per-level record arrays (a system owns its stars, a star its planets, a planet
// its moons) with their Allocate/Free pairs, and the fixed kind-name tables.
#pragma once

#include <cstdint>

#include "scene/arraylist.h"
#include "scene/object.h"
#include "scene/vector_math.h"

// Every field of every class below is zero after construction, and that zero state is the
// valid "empty" record: the generators fill records that AllocateStars/AllocatePlanets/
// AllocateMoons hand out exactly as they are. Copies are member by member and shallow: a
// copied star shares its planet array, a copied planet its moon array, a copied system its
// star array, so no destructor releases an array; the Free functions do.
class STELLAR_OBJECT_T : public OBJECT
{
  public:
    double orbit_radius = 0.0; // stars: AU from the barycentre (negative for star 1 of a pair)
    double variation = 0.0;    // written by moon generation only
    double orbit_period = 0.0; // stars: years
    double diameter = 0.0;     // planets and moons: kilometres
    double mass = 0.0;         // stars: solar masses; planets and moons: earth masses
    double eccentricity = 0.0;
    double rotation_period = 0.0; // planets: hours
    Vector3 position = {};
    ARRAYLIST object_list;  // nothing adds to it; kept for the layout of the family
    uint32_t name_seed = 0; // systems only: seed of the system name
};

class MOON_T : public STELLAR_OBJECT_T
{
  public:
    uint32_t kind = 0;        // 1 to 6, see MOON_KIND_NAMES; 0 = none
    double density = 0.0;     // earth = 1
    double gravity = 0.0;     // earth = 1
    double roche_limit = 0.0; // planet diameters
};

class PLANET_T : public STELLAR_OBJECT_T
{
  public:
    uint32_t kind = 0;            // 1 to 5, see PLANET_KIND_NAMES; 0 = not generated
    uint8_t orbits_pair = 0;      // 1 when the planet orbits both stars of a pair
    double axial_tilt = 0.0;      // degrees
    double gravity = 0.0;         // earth = 1
    double escape_velocity = 0.0; // earth = 1
    double density = 0.0;         // earth = 1
    double tidal_force = 0.0;
    uint8_t tidally_locked = 0;
    int32_t body_class = 0;
    double activity = 0.0;
    int32_t activity_class = 0;
    double field_index = 0.0;
    double field_strength = 0.0;
    double temperature = 0.0; // kelvin
    uint8_t in_habitable_zone = 0;
    double solar_day = 0.0; // hours
    uint32_t moon_count = 0;
    MOON_T *moons = nullptr; // moon_count records, owned by the planet
};

class STAR_T : public STELLAR_OBJECT_T
{
  public:
    char designation[256] = {};   // e.g. "G2V", "BD3"
    uint32_t class_index = 0;     // row of STAR_CLASS_TABLE, 0 to 43
    uint32_t subclass = 0;        // 0 to 9
    double temperature = 0.0;     // kelvin
    double luminosity = 0.0;      // solar luminosities
    double radius = 0.0;          // solar radii
    double age = 0.0;             // thousand million years
    double lifetime = 0.0;        // thousand million years
    int32_t planet_modifier = 0;  // +2, +1, 0, -1 or -3
    double companion_zone = 0.0;  // AU; pairs only
    double habitable_inner = 0.0; // AU
    double habitable_outer = 0.0; // AU
    uint32_t planet_count = 0;
    PLANET_T *planets = nullptr; // planet_count records, owned by the star
    double mass_share = 0.0;     // 0 for a single star
};

class SYSTEM_T : public STELLAR_OBJECT_T
{
  public:
    uint32_t star_count = 0;
    char name[256] = {};
    STAR_T *stars = nullptr;      // star_count records, owned by the system
    Vector3 galaxy_position = {}; // world units; the inherited position stays zero
    Vector3 spare_vector = {};    // always (0, 0, 0)
};

// Allocate*: a zero-state array of count records, one contiguous block (none for a count of
// 0), replacing and releasing any array the owner had; the count is set to count.
// Free*: releases the array with every record in its block, whatever the owner's count says,
// and (through FreePlanets/FreeMoons) everything those records own; leaves the pointer null
// and the count 0. Each returns its owner.
SYSTEM_T *AllocateStars(SYSTEM_T *system, uint32_t count);
SYSTEM_T *FreeStars(SYSTEM_T *system);
STAR_T *AllocatePlanets(STAR_T *star, uint32_t count);
STAR_T *FreePlanets(STAR_T *star);
PLANET_T *AllocateMoons(PLANET_T *planet, uint32_t count);
PLANET_T *FreeMoons(PLANET_T *planet);

// The record blocks underneath the Allocate/Free pairs, for code that resizes an owner's
// array itself (pruning): a block of count zero-state records (null for 0), and its release,
// which runs each record's destructor but releases nothing the records point to. A block
// knows how many records it holds, whatever its owner's count says.
STAR_T *NewStarRecords(uint32_t count);
void DeleteStarRecords(STAR_T *records);
PLANET_T *NewPlanetRecords(uint32_t count);
void DeletePlanetRecords(PLANET_T *records);
MOON_T *NewMoonRecords(uint32_t count);
void DeleteMoonRecords(MOON_T *records);
// Records in a block made by New*Records (0 for null).
uint32_t RecordBlockCount(const void *records);

// Labels for PLANET_T::kind 1 to 6 and MOON_T::kind 1 to 6 (entry kind - 1). The spellings
// are the program's own.
inline constexpr char PLANET_KIND_NAMES[6][12] = {"Asteorid", "Terestrial", "Chunk",
                                                  "Giant",    "Jovian",     "Interloper"};
inline constexpr char MOON_KIND_NAMES[6][19] = {"Tiny Chunk",        "Chunk",       "Large Chunk",
                                                "Small Terrestrial", "Terrestrial", "Ring"};

// The label of a planet's or moon's kind, "None" for a kind outside 1 to 6 (0: not generated).
inline const char *PlanetKindName(uint32_t kind)
{
    return (kind >= 1 && kind <= 6) ? PLANET_KIND_NAMES[kind - 1] : "None";
}
inline const char *MoonKindName(uint32_t kind)
{
    return (kind >= 1 && kind <= 6) ? MOON_KIND_NAMES[kind - 1] : "None";
}
