// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "analysis/units.h"
#include "library/flight_library.h"

namespace tevusb::cli {

// "312.4 m" (or "1025.0 ft"), or "-" when there is no value.
std::string orDash(const std::optional<double>& value, analysis::Quantity quantity,
                   analysis::UnitSystem units);
// The text on one line: control characters (line feeds in notes) become blanks.
std::string oneLine(const std::string& text);

// The list as a table, one flight a line, with a header.
void printFlightTable(std::ostream& out, const std::vector<library::FlightRecord>& records,
                      analysis::UnitSystem units);
// Every field of one flight, one per line.
void printFlight(std::ostream& out, const library::FlightRecord& record,
                 const std::string& archiveFile, analysis::UnitSystem units);

}  // namespace tevusb::cli
