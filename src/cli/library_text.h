// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "library/flight_library.h"

namespace tevusb::cli {

// Fixed decimals in the C locale, whatever the user's locale says.
std::string fixed(double value, int decimals = 1);
// "312.4 m", or "-" when there is no value.
std::string orDash(const std::optional<double>& value, const char* unit, int decimals = 1);
// The text on one line: control characters (line feeds in notes) become blanks.
std::string oneLine(const std::string& text);

// The list as a table, one flight a line, with a header.
void printFlightTable(std::ostream& out, const std::vector<library::FlightRecord>& records);
// Every field of one flight, one per line.
void printFlight(std::ostream& out, const library::FlightRecord& record,
                 const std::string& archiveFile);

}  // namespace tevusb::cli
