// The Hubble types' table. The presets were chosen so that each type's spiral measures as real
// ones do (an arm amplitude of 0.1 to 0.7); the README lists the measured figures.
#include "galaxy/hubble_types.h"

#include <cstring>

const HUBBLE_TYPE_T HUBBLE_TYPES[HUBBLE_TYPE_COUNT] = {
    // name, kind, n, arms, pitch, bulge, bar, width, contrast
    {"Sa", HUBBLE_SPIRAL, 0, 2, 8, 40, 0, 8, 50},
    {"Sb", HUBBLE_SPIRAL, 0, 2, 13, 25, 0, 8, 60},
    {"Sc", HUBBLE_SPIRAL, 0, 2, 20, 12, 0, 9, 65},
    {"Sd", HUBBLE_SPIRAL, 0, 2, 28, 5, 0, 10, 55},
    {"SBa", HUBBLE_SPIRAL, 0, 2, 8, 32, 35, 8, 50},
    {"SBb", HUBBLE_SPIRAL, 0, 2, 13, 20, 30, 8, 60},
    {"SBc", HUBBLE_SPIRAL, 0, 2, 20, 10, 25, 9, 65},
    {"SBd", HUBBLE_SPIRAL, 0, 2, 28, 4, 20, 10, 55},
    {"S0", HUBBLE_LENTICULAR, 0, 2, 13, 35, 0, 12, 0},
    {"E0", HUBBLE_ELLIPTICAL, 0, 2, 13, 100, 0, 12, 0},
    {"E1", HUBBLE_ELLIPTICAL, 1, 2, 13, 100, 0, 12, 0},
    {"E2", HUBBLE_ELLIPTICAL, 2, 2, 13, 100, 0, 12, 0},
    {"E3", HUBBLE_ELLIPTICAL, 3, 2, 13, 100, 0, 12, 0},
    {"E4", HUBBLE_ELLIPTICAL, 4, 2, 13, 100, 0, 12, 0},
    {"E5", HUBBLE_ELLIPTICAL, 5, 2, 13, 100, 0, 12, 0},
    {"E6", HUBBLE_ELLIPTICAL, 6, 2, 13, 100, 0, 12, 0},
    {"E7", HUBBLE_ELLIPTICAL, 7, 2, 13, 100, 0, 12, 0},
    {"Irr", HUBBLE_IRREGULAR, 0, 2, 13, 0, 0, 12, 0},
};

const HUBBLE_TYPE_T *HubbleType(int32_t model)
{
    return (model >= 1 && model <= HUBBLE_TYPE_COUNT) ? &HUBBLE_TYPES[model - 1] : nullptr;
}

int32_t HubbleModelByName(const char *name)
{
    for (int32_t k = 0; k < HUBBLE_TYPE_COUNT; k++)
        if (std::strcmp(HUBBLE_TYPES[k].name, name) == 0) return k + 1;
    return -1;
}

const char *GalaxyModelName(int32_t model)
{
    const HUBBLE_TYPE_T *type = HubbleType(model);
    return type != nullptr ? type->name : "Classic";
}

GALAXY_SHAPE_T ApplyHubblePreset(GALAXY_SHAPE_T shape, int32_t model)
{
    if (model == GALAXY_MODEL_CLASSIC)
    {
        // The classic model ignores these; at 0 its codes and names are those it always had.
        shape.model = shape.pitch = shape.bulge_share = shape.bar_length = shape.arm_width = shape.arm_contrast = 0;
        return shape;
    }
    const HUBBLE_TYPE_T *type = HubbleType(model);
    if (type == nullptr) return shape;
    shape.model = model;
    shape.arms = type->arms;
    shape.pitch = type->pitch;
    shape.bulge_share = type->bulge_share;
    shape.bar_length = type->bar_length;
    shape.arm_width = type->arm_width;
    shape.arm_contrast = type->arm_contrast;
    return shape;
}
