// Atmospheres as gas lists: texts of gas formulas, each followed by a comma ("N2,CO2,").
// RandomGasMix and AtmosphereGases draw a list; RetainedGases keeps the gases of a list that
// a body is heavy and cold enough to hold on to.
#pragma once

#include <string>
#include <string_view>

// Four neighbouring rows of the gas table from a random start row (0 to 11). One draw.
std::string RandomGasMix(void);

// A list chosen by temperature band (kelvin) and one die of 10, drawn first; a die of 10
// defers to RandomGasMix, which draws once more.
std::string AtmosphereGases(double temperature);

// The gases of list, in list order, whose molecular weight is strictly above
// 0.02783 * temperature / escape_velocity^2 (kelvin, kilometres per second). Items that are
// not a table formula, empty items and text after the last comma add nothing. Any bytes are
// safe, including NULs inside the view.
std::string RetainedGases(std::string_view list, double temperature, double escape_velocity);
