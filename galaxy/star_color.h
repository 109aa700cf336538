// A star's colour before it has one of its own: warm yellow-white in the bulge, blue-white out
// along the arms, from its position alone, so the star field has colour as soon as it exists.
// The star field keeps the colours; a later fill from each star's system replaces them.
#pragma once

#include <cstdint>
#include <vector>

#include "scene/object.h"
#include "scene/vector_math.h"

// disc_radius: the distance from the axis (y) at which the arms end, world units. A radius
// that is not positive or not finite gives the arms' colour everywhere.
Color StarColorFromPosition(Vector3 position, float disc_radius);

// colors becomes StarColorFromPosition of stars[0] to stars[count - 1] against the farthest
// of them from the axis, which it returns: the colours of a generation not yet in a galaxy.
float FillStarColors(const IOBJECT_T *stars, uint32_t count, std::vector<Color> *colors);

// The same for a galaxy of the second model, whose stars carry their population in their tag
// (hubble_galaxy.h): old stars yellow-red, the disc between the arms yellow-white, the arms
// blue-white, HII knots pink, each with a little scatter. A classic star (tag 0) takes its
// position's colour.
float FillPopulationColors(const IOBJECT_T *stars, uint32_t count, std::vector<Color> *colors);

// The pieces of the two fills, for a caller that splits the stars into slices: the farthest
// star from the axis over all of them first, then each slice's colours against it.
float FarthestFromAxis(const IOBJECT_T *stars, uint32_t count);
void ColorStarsFromPositions(const IOBJECT_T *stars, uint32_t count, float disc_radius, Color *out);
void ColorStarsFromPopulations(const IOBJECT_T *stars, uint32_t count, float disc_radius, Color *out);

// The colour of one population (a STAR_POPULATION_T), before the scatter.
Color PopulationColor(int32_t population);
