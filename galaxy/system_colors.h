// Each star of a field in its own colour: its system primary's temperature, as its card's swatch
// and the layer's sprites show it (half and half with its population's, in a Hubble type). Making a million systems' first dice takes about 150 ms,
// so the field takes them a few chunks a frame.
#pragma once

#include "galaxy/star_field.h"

// Gives stars their own colour in creation order from field->colors_from_systems on, for about
// budget_ms milliseconds (at least one chunk) so a frame is never held long; the colours go in
// through SetStarColors, one version a call. Returns whether every star has its own colour now.
bool ColorStarsFromSystems(STAR_FIELD_T *field, double budget_ms);
