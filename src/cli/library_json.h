// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "library/flight_library.h"

namespace tevusb::cli {

// The flights as a JSON array of objects with snake_case keys (SI units in the key names,
// null where the analysis found nothing). Invalid UTF-8 in a text is replaced, not fatal.
std::string flightsJson(const std::vector<library::FlightRecord>& records);

}  // namespace tevusb::cli
