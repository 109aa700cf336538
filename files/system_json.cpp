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
// One line of compact JSON written straight into text: the library still formats every string
// and number, so the line is its own compact dump of the object above, but no object is built.
// A catalog of a million systems spent nearly all its time building and freeing those objects.
class LINE_T
{
  public:
    explicit LINE_T(std::string *text) : text(text) {}
    void Open(char bracket)
    {
        Comma();
        text->push_back(bracket);
        fresh = true;
    }
    void Close(char bracket)
    {
        text->push_back(bracket);
        fresh = false;
    }
    // Keys are the plain ASCII names of this file, which need no escaping.
    void Key(const char *key)
    {
        Comma();
        text->push_back('"');
        text->append(key);
        text->append("\":");
        fresh = true;
    }
    // The digits the library's own writer gives (its shortest text that reads back the same
    // double), without the writer it would set up for each number.
    void Number(double value)
    {
        Comma();
        if (!std::isfinite(value))
        {
            text->append("null");
            return;
        }
        char digits[64];
        const char *end = nlohmann::detail::to_chars(digits, digits + sizeof digits, value);
        text->append(digits, (size_t)(end - digits));
    }
    void Count(uint64_t value)
    {
        Comma();
        text->append(std::to_string(value));
    }
    void Flag(bool value)
    {
        Comma();
        text->append(value ? "true" : "false");
    }
    void Text(const std::string &value)
    {
        Comma();
        // Printable ASCII other than a quote or a backslash is written as it is; the library
        // escapes anything else.
        for (char c : value)
            if (c < 0x20 || c > 0x7E || c == '"' || c == '\\')
            {
                text->append(JSON(value).dump());
                return;
            }
        text->push_back('"');
        text->append(value);
        text->push_back('"');
    }
    // Text already written as one value, such as a copy of an earlier part of the line.
    void Raw(const std::string &value)
    {
        Comma();
        text->append(value);
    }
    size_t Size(void) const { return text->size(); }

  private:
    void Comma(void)
    {
        if (!fresh) text->push_back(',');
        fresh = false;
    }
    std::string *text;
    bool fresh = true; // nothing yet in the object or array just opened, or a key just written
};

void WriteMoon(const MOON_T &moon, LINE_T *line)
{
    line->Open('{');
    line->Key("kind");
    line->Text(MoonKindName(moon.kind));
    line->Key("diameter_km");
    line->Number(moon.diameter);
    line->Key("mass_earth");
    line->Number(moon.mass);
    line->Key("density_earth");
    line->Number(moon.density);
    line->Key("gravity_g");
    line->Number(moon.gravity);
    line->Key("orbit_period_days");
    line->Number(moon.orbit_period);
    line->Close('}');
}

void WritePlanet(const PLANET_T &planet, const std::vector<GAS_SHARE_T> &gases, LINE_T *line)
{
    line->Open('{');
    line->Key("kind");
    line->Text(PlanetKindName(planet.kind));
    const std::pair<const char *, double> figures[] = {
        {"orbit_au", planet.orbit_radius},      {"year_years", planet.orbit_period},
        {"day_hours", planet.solar_day},        {"rotation_hours", planet.rotation_period},
        {"mass_earth", planet.mass},            {"diameter_km", planet.diameter},
        {"gravity_g", planet.gravity},          {"density_earth", planet.density},
        {"temperature_k", planet.temperature}, {"axial_tilt_degrees", planet.axial_tilt}};
    for (const auto &figure : figures)
    {
        line->Key(figure.first);
        line->Number(figure.second);
    }
    line->Key("tidally_locked");
    line->Flag(planet.tidally_locked != 0);
    line->Key("in_habitable_zone");
    line->Flag(planet.in_habitable_zone != 0);
    line->Key("atmosphere");
    line->Open('[');
    for (const GAS_SHARE_T &gas : gases)
    {
        line->Open('{');
        line->Key("gas");
        line->Text(gas.formula);
        line->Key("share");
        line->Number(gas.share);
        line->Close('}');
    }
    line->Close(']');
    line->Key("moons");
    line->Open('[');
    for (uint32_t m = 0; m < planet.moon_count; m++) WriteMoon(planet.moons[m], line);
    line->Close(']');
    line->Close('}');
}

void WriteSystem(const STAR_SYSTEM_T &star_system, std::string *text)
{
    const SYSTEM_T &system = star_system.system;
    LINE_T line(text);
    line.Open('{');
    line.Key("name");
    line.Text(system.name);
    line.Key("star_index");
    line.Count(star_system.star_index);
    line.Key("position");
    line.Open('{');
    line.Key("x");
    line.Number(star_system.position.x);
    line.Key("y");
    line.Number(star_system.position.y);
    line.Key("z");
    line.Number(star_system.position.z);
    line.Close('}');
    line.Key("stars");
    line.Open('[');
    std::vector<std::pair<size_t, size_t>> planets; // where each planet's text lies in the line
    for (uint32_t s = 0; s < system.star_count; s++)
    {
        const STAR_T &star = system.stars[s];
        line.Open('{');
        line.Key("class");
        line.Text(star.designation);
        const std::pair<const char *, double> figures[] = {
            {"temperature", star.temperature},
            {"mass_solar", star.mass},
            {"luminosity_solar", star.luminosity},
            {"radius_solar", star.radius},
            {"age_gyr", star.age},
            {"orbit_au", star.orbit_radius},
            {"orbit_period_years", system.star_count == 2 ? SystemPairPeriodYears(system) : star.orbit_period}};
        for (const auto &figure : figures)
        {
            line.Key(figure.first);
            line.Number(figure.second);
        }
        line.Key("habitable_zone_au");
        line.Open('[');
        line.Number(star.habitable_inner);
        line.Number(star.habitable_outer);
        line.Close(']');
        line.Key("planets");
        line.Open('[');
        for (uint32_t p = 0; p < star.planet_count; p++)
        {
            const size_t start = line.Size() + (p > 0 ? 1 : 0); // after the comma
            WritePlanet(star.planets[p], star_system.atmospheres[s][p], &line);
            planets.push_back({start, line.Size()});
        }
        line.Close(']');
        line.Close('}');
    }
    line.Close(']');
    line.Key("planets");
    line.Open('[');
    for (const auto &planet : planets) line.Raw(text->substr(planet.first, planet.second - planet.first));
    line.Close(']');
    line.Close('}');
}
} // namespace

std::string StarSystemJson(const STAR_SYSTEM_T &star_system)
{
    return SystemJson(star_system).dump(2) + "\n";
}

std::string StarSystemJsonLine(const STAR_SYSTEM_T &star_system)
{
    std::string text;
    WriteSystem(star_system, &text);
    text.push_back('\n');
    return text;
}
