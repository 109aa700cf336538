// The star half of system generation: the class of the primary and of a companion from the
// star class table, the orbit of a pair, and the corrections of mass, luminosity, radius and
// age with the quantities derived from them.
#pragma once

#include "systems/stellar_object.h"

// Fills the stars of a system whose star array exists in its zero state (star_count 1 or 2),
// drawing every die from the one random stream in a fixed order: the five opening dice, the
// primary's extra row roll (P = 100 only), the companion's subclass and the pair's orbit
// dice, then per star the subgiant/giant correction, the age die and the two planet dice.
// A system without a star array is left as it is.
void GenerateStars(SYSTEM_T *system);

// The row, subclass and table figures of the star GenerateStars leaves first in a system of
// star_count stars (of a pair, the heavier), from the same first draws and no more: what a
// system looks like from afar, at a fraction of the cost.
void RollPrimaryClassOnly(STAR_T *primary, uint32_t star_count);

// The time a pair of stars takes to go once round its centre, years, by Kepler's third law in
// years, AU and solar masses: sqrt(separation^3 / total mass). The separation is the distance
// between the two stars, not one star's distance from the centre. 0 when either figure is not
// positive and finite: such a pair has no period to show or to animate.
double PairPeriodYears(double separation_au, double total_mass_suns);

// PairPeriodYears of a system's two stars, from their records: both distances from the centre
// summed, both masses summed. 0 for a single star. A pair's STAR_T::orbit_period is the
// generation's own figure, kept as it always was; this is the period to show and to move by.
double SystemPairPeriodYears(const SYSTEM_T &system);
