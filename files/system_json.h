// A star system as JSON text, for --system and for anyone who wants a system outside the
// viewer. Units are in the field names (_au, _years, _hours, _k, ...).
#pragma once

#include <string>

#include "galaxy/star_system_on_demand.h"

// Indented over many lines, as --system prints it.
std::string StarSystemJson(const STAR_SYSTEM_T &system);
// The very same object on one line, without the spaces between fields: a line of a JSON Lines
// catalog, ended by a line feed.
std::string StarSystemJsonLine(const STAR_SYSTEM_T &system);
