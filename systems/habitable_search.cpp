// The habitable-planet search: a walk over groups, systems, stars and planets in order that
// stops at the first rocky planet in its star's habitable zone.
#include "systems/habitable_search.h"

#include <cstdio>

ARRAYLIST FindHabitablePlanet(const ARRAYLIST &groups)
{
    int64_t found[4] = {0, 0, 0, 0};
    bool done = false;
    for (uint64_t g = 0; g < groups.Count() && !done; g++)
    {
        const SYSTEM_GROUP_T *group = dynamic_cast<const SYSTEM_GROUP_T *>(groups.Get(g));
        if (group == nullptr || group->systems == nullptr) continue;
        for (uint64_t s = 0; s < group->systems->Count() && !done; s++)
        {
            const SYSTEM_T *system = dynamic_cast<const SYSTEM_T *>(group->systems->Get(s));
            if (system == nullptr || system->stars == nullptr) continue;
            for (uint32_t t = 0; t < system->star_count && !done; t++)
            {
                const STAR_T &star = system->stars[t];
                for (uint32_t p = 0; p < star.planet_count && star.planets != nullptr && !done; p++)
                {
                    const PLANET_T &planet = star.planets[p];
                    if (planet.in_habitable_zone == 1 && (planet.kind == 2 || planet.kind == 3))
                    {
                        found[0] = (int64_t)g;
                        found[1] = (int64_t)s;
                        found[2] = t;
                        found[3] = p;
                        done = true;
                    }
                }
            }
        }
    }
    if (done) std::puts("found");

    ARRAYLIST indices;
    for (int64_t index : found)
        indices.Push(new INDEX_T(index));
    return indices;
}

void FreeIndexList(ARRAYLIST *list)
{
    while (list->Count() > 0)
        delete list->Pop();
}
