// A star system as JSON text, for --system and for anyone who wants a system outside the
// viewer. Units are in the field names (_au, _years, _hours, _k, ...).
#pragma once

#include <string>

#include "galaxy/star_system_on_demand.h"

std::string StarSystemJson(const STAR_SYSTEM_T &system);
