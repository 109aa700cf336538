// GenerateSystem: placement, the stars, then the name, in that order, since the name's many
// draws come after every star die in the stream.
#include "systems/system_generator.h"

#include <cstring>
#include <string>

#include "systems/stars.h"
#include "systems/system_name.h"

void GenerateSystem(SYSTEM_T *system, uint32_t star_count, Vector3 position)
{
    system->galaxy_position = position;
    system->spare_vector = Vector3{0.0f, 0.0f, 0.0f};
    AllocateStars(system, star_count);
    GenerateStars(system);

    const std::string name = GenerateSystemName(system->name_seed);
    std::memset(system->name, 0, sizeof system->name);
    std::memcpy(system->name, name.data(),
                name.size() < sizeof system->name ? name.size() : sizeof system->name - 1);
}
