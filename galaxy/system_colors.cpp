// Colours from systems, a chunk at a time: only the first dice of each system are rolled.
#include "galaxy/system_colors.h"

#include <vector>

#include "galaxy/hubble_types.h"
#include "galaxy/star_color.h"
#include "galaxy/star_system_on_demand.h"
#include "random/random.h"
#include "systems/temperature_color.h"

bool ColorStarsFromSystems(STAR_FIELD_T *field, double budget_ms)
{
    // About a third of a millisecond a chunk, so the budget is kept to within one chunk.
    constexpr uint32_t CHUNK = 2048;
    const uint32_t count = (uint32_t)field->colors.size();
    const uint32_t first = field->colors_from_systems;
    if (first >= count) return true;
    const double end = ClockSeconds() + budget_ms / 1000.0;
    float kelvin[CHUNK];
    std::vector<Color> colors;
    uint32_t next = first;
    do
    {
        const uint32_t n = (count - next < CHUNK) ? count - next : CHUNK;
        StarSystemPrimaryTemperatures(field->shape, next, n, kelvin);
        for (uint32_t k = 0; k < n; k++)
        {
            Color own = UnpackColor(TemperatureColor(kelvin[k], 255));
            // A Hubble type's populations stay visible: its stars take half their system's
            // colour and half their population's.
            if (field->shape.model != GALAXY_MODEL_CLASSIC)
            {
                const Color population = PopulationColor(field->stars[next + k].tag);
                own = Color{(unsigned char)((own.r + population.r + 1) / 2), (unsigned char)((own.g + population.g + 1) / 2),
                            (unsigned char)((own.b + population.b + 1) / 2), 255};
            }
            colors.push_back(own);
        }
        next += n;
    } while (next < count && ClockSeconds() < end);
    SetStarColors(field, first, (uint32_t)colors.size(), colors.data());
    field->colors_from_systems = next;
    return next >= count;
}
