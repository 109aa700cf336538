// A star's colour before it has one of its own: warm yellow-white in the bulge, blue-white out
// along the arms, from its position alone, so the star field has colour as soon as it exists.
// The galaxy keeps the colours in star_colors; a later fill from each star's system replaces it.
#pragma once

#include <cstdint>
#include <vector>

#include "scene/object.h"
#include "scene/vector_math.h"

class GALAXY;

// disc_radius: the distance from the axis (y) at which the arms end, world units. A radius
// that is not positive or not finite gives the arms' colour everywhere.
Color StarColorFromPosition(Vector3 position, float disc_radius);

// colors becomes StarColorFromPosition of stars[0] to stars[count - 1] against the farthest
// of them from the axis, which it returns: the colours of a generation not yet in a galaxy.
float FillStarColors(const IOBJECT_T *stars, uint32_t count, std::vector<Color> *colors);

// Fills galaxy->star_colors with StarColorFromPosition for every star (creation order),
// sets disc_radius to the farthest star from the axis and raises star_colors_version.
void FillStarColorsFromPositions(GALAXY *galaxy);

// Gives stars their own colour, their system primary's temperature as the layer's sprites show
// it, in creation order from galaxy->star_colors_from_systems on, for about budget_ms
// milliseconds (at least one chunk) so a frame is never held long. Returns whether every star
// has its own colour now.
bool ColorStarsFromSystems(GALAXY *galaxy, double budget_ms);
