// The Hubble types a galaxy of the second model can be: their names, what kind of galaxy each
// is, and the preset each starts from (bulge share, pitch, bar, arms), after the usual
// sequence: from Sa to Sd the bulge shrinks and the arms open; SB types add a bar; En
// ellipticals flatten with n; S0 is a disc without arms; Irr is clumpy and armless.
#pragma once

#include <cstdint>

#include "galaxy/galaxy_shape.h"

// GALAXY_SHAPE_T::model of the classic generator.
constexpr int32_t GALAXY_MODEL_CLASSIC = 0;

enum HUBBLE_KIND_T
{
    HUBBLE_SPIRAL,     // Sa to Sd, SBa to SBd
    HUBBLE_LENTICULAR, // S0
    HUBBLE_ELLIPTICAL, // E0 to E7
    HUBBLE_IRREGULAR,  // Irr
};

struct HUBBLE_TYPE_T
{
    const char *name;
    HUBBLE_KIND_T kind;
    int32_t ellipticity; // n of En: the shortest axis is 1 - n/10 of the longest
    // The preset: the shape's fields a type starts from.
    int32_t arms;
    int32_t pitch;        // degrees
    int32_t bulge_share;  // percent
    int32_t bar_length;   // percent of the disc radius
    int32_t arm_width;    // percent of the angle between arms
    int32_t arm_contrast; // percent
};

// Models 1 to HUBBLE_TYPE_COUNT, in this order.
constexpr int32_t HUBBLE_TYPE_COUNT = 18;
extern const HUBBLE_TYPE_T HUBBLE_TYPES[HUBBLE_TYPE_COUNT];

// Ranges of the type fields a galaxy of the second model may have; outside them it has no stars.
constexpr int32_t HUBBLE_MIN_ARMS = 1;
constexpr int32_t HUBBLE_MAX_ARMS = 9;
constexpr int32_t HUBBLE_MIN_PITCH = 5;
constexpr int32_t HUBBLE_MAX_PITCH = 40;
constexpr int32_t HUBBLE_MAX_BULGE_SHARE = 100;
constexpr int32_t HUBBLE_MAX_BAR_LENGTH = 60;
constexpr int32_t HUBBLE_MIN_ARM_WIDTH = 2;
constexpr int32_t HUBBLE_MAX_ARM_WIDTH = 40;
constexpr int32_t HUBBLE_MAX_ARM_CONTRAST = 100;

// The type of a model, or null for the classic model and for a model no type has.
const HUBBLE_TYPE_T *HubbleType(int32_t model);
// The model of a type's name ("SBb", "E3", "Irr"; exact case), or -1.
int32_t HubbleModelByName(const char *name);
// The name of a model: a type's name, or "Classic".
const char *GalaxyModelName(int32_t model);

// shape with model and every type field set to the type's preset; the seed, sizes and density
// stay. The classic model sets them all to 0; a model no type has leaves shape as it is.
GALAXY_SHAPE_T ApplyHubblePreset(GALAXY_SHAPE_T shape, int32_t model);
