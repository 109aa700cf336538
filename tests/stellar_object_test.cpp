// Star-system records: zero state, the per-level Allocate/Free pairs and what they own, and
// shallow copies that share arrays. Leaks and overruns show up in the sanitizer run.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "systems/stellar_object.h"

// Catches a field left out of a constructor's zeroing (fresh records must be the valid
// "empty" state the generators fill).
TEST(StellarObject, RecordsStartZeroed)
{
    STAR_T *stars = NewStarRecords(3);
    ASSERT_NE(stars, nullptr);
    EXPECT_EQ(RecordBlockCount(stars), 3u);
    for (int i = 0; i < 3; i++)
    {
        EXPECT_EQ(stars[i].orbit_radius, 0.0);
        EXPECT_EQ(stars[i].mass, 0.0);
        EXPECT_EQ(stars[i].temperature, 0.0);
        EXPECT_EQ(stars[i].mass_share, 0.0);
        EXPECT_EQ(stars[i].planet_count, 0u);
        EXPECT_EQ(stars[i].planets, nullptr);
        EXPECT_EQ(stars[i].designation[0], '\0');
        EXPECT_EQ(stars[i].object_list.Count(), 0u);
        EXPECT_EQ(stars[i].name_seed, 0u);
    }
    DeleteStarRecords(stars);

    PLANET_T *planets = NewPlanetRecords(2);
    ASSERT_NE(planets, nullptr);
    EXPECT_EQ(planets[1].kind, 0u);
    EXPECT_EQ(planets[1].moon_count, 0u);
    EXPECT_EQ(planets[1].moons, nullptr);
    EXPECT_EQ(planets[1].solar_day, 0.0);
    DeletePlanetRecords(planets);

    SYSTEM_T system;
    EXPECT_EQ(system.star_count, 0u);
    EXPECT_EQ(system.stars, nullptr);
    EXPECT_EQ(system.name[0], '\0');
    EXPECT_EQ(system.galaxy_position.x, 0.0f);

    EXPECT_EQ(NewMoonRecords(0), nullptr);
    EXPECT_EQ(RecordBlockCount(nullptr), 0u);
}

// Catches AllocateStars allocating for a count of 0, keeping an old array under a new count
// (walkers then run past it) or leaking it, or FreeStars failing on a system without stars.
TEST(StellarObject, AllocateAndFreeStarsFollowTheirRules)
{
    SYSTEM_T system;
    AllocateStars(&system, 0);
    EXPECT_EQ(system.stars, nullptr);
    EXPECT_EQ(system.star_count, 0u);

    EXPECT_EQ(AllocateStars(&system, 2), &system);
    ASSERT_NE(system.stars, nullptr);
    EXPECT_EQ(system.star_count, 2u);
    STAR_T *first = system.stars;
    first[1].mass = 3.0;

    AllocatePlanets(&first[1], 2); // released with the old block, or the sanitizer sees a leak
    AllocateStars(&system, 5);
    ASSERT_NE(system.stars, nullptr);
    EXPECT_EQ(system.star_count, 5u);
    EXPECT_EQ(RecordBlockCount(system.stars), 5u);
    for (uint32_t i = 0; i < system.star_count; i++) EXPECT_EQ(system.stars[i].mass, 0.0);

    EXPECT_EQ(FreeStars(&system), &system);
    EXPECT_EQ(system.stars, nullptr);
    EXPECT_EQ(system.star_count, 0u);

    FreeStars(&system);
    EXPECT_EQ(system.stars, nullptr);
    EXPECT_EQ(system.star_count, 0u);
}

// Catches release by the owner's count instead of the block's: after the count was raised
// past the block, FreeStars must neither run past the block (sanitizer) nor miss the planets
// of records beyond the count after it was lowered (leak under the sanitizer).
TEST(StellarObject, FreeReleasesTheWholeBlockWhateverTheCount)
{
    SYSTEM_T system;
    AllocateStars(&system, 2);
    system.star_count = 5;
    FreeStars(&system);
    EXPECT_EQ(system.stars, nullptr);

    AllocateStars(&system, 2);
    AllocatePlanets(&system.stars[1], 3);
    system.star_count = 1;
    FreeStars(&system);
    EXPECT_EQ(system.star_count, 0u);
}

// Catches a Free that leaves the planets' moons or the stars' planets behind (leaks under the
// sanitizer) or leaves dangling pointers and counts.
TEST(StellarObject, FreeingALevelReleasesEverythingBelowIt)
{
    SYSTEM_T system;
    AllocateStars(&system, 2);
    for (uint32_t s = 0; s < system.star_count; s++)
    {
        STAR_T *star = &system.stars[s];
        EXPECT_EQ(AllocatePlanets(star, 3), star);
        ASSERT_NE(star->planets, nullptr);
        for (uint32_t p = 0; p < star->planet_count; p++)
        {
            EXPECT_EQ(AllocateMoons(&star->planets[p], p + 1), &star->planets[p]);
            EXPECT_EQ(star->planets[p].moon_count, p + 1);
        }
    }

    PLANET_T *planet = &system.stars[0].planets[2];
    FreeMoons(planet);
    EXPECT_EQ(planet->moons, nullptr);
    EXPECT_EQ(planet->moon_count, 0u);

    FreePlanets(&system.stars[1]);
    EXPECT_EQ(system.stars[1].planets, nullptr);
    EXPECT_EQ(system.stars[1].planet_count, 0u);

    FreeStars(&system);
    EXPECT_EQ(system.stars, nullptr);
}

// Catches deep copies or copies that release shared arrays when they are destroyed (a double
// free in the sanitizer run when the owner frees afterwards), and names not copied as text.
TEST(StellarObject, CopiesShareTheirArrays)
{
    SYSTEM_T system;
    std::strcpy(system.name, "Tesen");
    system.galaxy_position = Vector3{1.0f, 2.0f, 3.0f};
    AllocateStars(&system, 1);
    AllocatePlanets(&system.stars[0], 2);
    AllocateMoons(&system.stars[0].planets[0], 1);
    std::strcpy(system.stars[0].designation, "G2V");
    {
        SYSTEM_T copy(system);
        EXPECT_EQ(copy.stars, system.stars);
        EXPECT_EQ(copy.star_count, 1u);
        EXPECT_STREQ(copy.name, "Tesen");
        EXPECT_EQ(copy.galaxy_position.z, 3.0f);

        STAR_T star = system.stars[0];
        EXPECT_EQ(star.planets, system.stars[0].planets);
        EXPECT_STREQ(star.designation, "G2V");

        PLANET_T planet = system.stars[0].planets[0];
        EXPECT_EQ(planet.moons, system.stars[0].planets[0].moons);

        SYSTEM_T assigned;
        assigned = system;
        EXPECT_EQ(assigned.stars, system.stars);
        std::strcpy(assigned.name, "Other");
        EXPECT_STREQ(system.name, "Tesen");
    }
    EXPECT_EQ(system.stars[0].planet_count, 2u);
    FreeStars(&system);
}

// Catches a misspelt or shifted kind label (the spellings are the program's own).
TEST(StellarObject, KindNameTables)
{
    EXPECT_EQ(std::string(PLANET_KIND_NAMES[0]), "Asteorid");
    EXPECT_EQ(std::string(PLANET_KIND_NAMES[1]), "Terestrial");
    EXPECT_EQ(std::string(PLANET_KIND_NAMES[5]), "Interloper");
    EXPECT_EQ(sizeof PLANET_KIND_NAMES[0], 12u);
    EXPECT_EQ(std::string(MOON_KIND_NAMES[3]), "Small Terrestrial");
    EXPECT_EQ(std::string(MOON_KIND_NAMES[5]), "Ring");
    EXPECT_EQ(sizeof MOON_KIND_NAMES[0], 19u);
}
