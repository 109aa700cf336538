// Built with nlohmann::json, so names and numbers are always escaped and formatted correctly.
#include "files/system_json.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "systems/stars.h"

namespace
{
using JSON = nlohmann::ordered_json;

// JSON has no NaN or infinity; a figure without a value is null rather than invalid text.
JSON Number(double value)
{
    return std::isfinite(value) ? JSON(value) : JSON(nullptr);
}

JSON MoonJson(const MOON_T &moon)
{
    JSON out;
    out["kind"] = MoonKindName(moon.kind);
    out["diameter_km"] = Number(moon.diameter);
    out["mass_earth"] = Number(moon.mass);
    out["density_earth"] = Number(moon.density);
    out["gravity_g"] = Number(moon.gravity);
    out["orbit_period_days"] = Number(moon.orbit_period);
    return out;
}

JSON PlanetJson(const PLANET_T &planet, const std::vector<GAS_SHARE_T> &gases)
{
    JSON out;
    out["kind"] = PlanetKindName(planet.kind);
    out["orbit_au"] = Number(planet.orbit_radius);
    out["year_years"] = Number(planet.orbit_period);
    out["day_hours"] = Number(planet.solar_day);
    out["rotation_hours"] = Number(planet.rotation_period);
    out["mass_earth"] = Number(planet.mass);
    out["diameter_km"] = Number(planet.diameter);
    out["gravity_g"] = Number(planet.gravity);
    out["density_earth"] = Number(planet.density);
    out["temperature_k"] = Number(planet.temperature);
    out["axial_tilt_degrees"] = Number(planet.axial_tilt);
    out["tidally_locked"] = planet.tidally_locked != 0;
    out["in_habitable_zone"] = planet.in_habitable_zone != 0;
    JSON atmosphere = JSON::array();
    for (const GAS_SHARE_T &gas : gases) atmosphere.push_back(JSON{{"gas", gas.formula}, {"share", Number(gas.share)}});
    out["atmosphere"] = atmosphere;
    JSON moons = JSON::array();
    for (uint32_t m = 0; m < planet.moon_count; m++) moons.push_back(MoonJson(planet.moons[m]));
    out["moons"] = moons;
    return out;
}

JSON SystemJson(const STAR_SYSTEM_T &star_system)
{
    const SYSTEM_T &system = star_system.system;
    JSON out;
    out["name"] = system.name;
    out["star_index"] = star_system.star_index;
    out["position"] = JSON{{"x", Number(star_system.position.x)},
                           {"y", Number(star_system.position.y)},
                           {"z", Number(star_system.position.z)}};
    JSON stars = JSON::array();
    for (uint32_t s = 0; s < system.star_count; s++)
    {
        const STAR_T &star = system.stars[s];
        JSON entry;
        entry["class"] = star.designation;
        entry["temperature"] = Number(star.temperature);
        entry["mass_solar"] = Number(star.mass);
        entry["luminosity_solar"] = Number(star.luminosity);
        entry["radius_solar"] = Number(star.radius);
        entry["age_gyr"] = Number(star.age);
        entry["orbit_au"] = Number(star.orbit_radius);
        // A pair's own period, not the figure its generation keeps (which is not Kepler's).
        entry["orbit_period_years"] = Number(system.star_count == 2 ? SystemPairPeriodYears(system) : star.orbit_period);
        entry["habitable_zone_au"] = JSON::array({Number(star.habitable_inner), Number(star.habitable_outer)});
        JSON planets = JSON::array();
        for (uint32_t p = 0; p < star.planet_count; p++)
            planets.push_back(PlanetJson(star.planets[p], star_system.atmospheres[s][p]));
        entry["planets"] = planets;
        stars.push_back(entry);
    }
    out["stars"] = stars;
    // Every planet of every star, for readers that want them in one list.
    JSON all = JSON::array();
    for (const JSON &star : stars)
        for (const JSON &planet : star["planets"]) all.push_back(planet);
    out["planets"] = all;
    return out;
}
} // namespace

std::string StarSystemJson(const STAR_SYSTEM_T &star_system)
{
    return SystemJson(star_system).dump(2) + "\n";
}

std::string StarSystemJsonLine(const STAR_SYSTEM_T &star_system)
{
    return SystemJson(star_system).dump() + "\n";
}
