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

// A download time as the library window shows it: "2026-12-08T07:35:28Z" becomes the
// local "2026-12-08 08:35". Text of any other form is given back as it is.
std::string localDownloadDate(const std::string& utc);

// The list as a table, one flight a line, with a header.
void printFlightTable(std::ostream& out, const std::vector<library::FlightRecord>& records,
                      analysis::UnitSystem units);
// Every field of one flight, one per line.
void printFlight(std::ostream& out, const library::FlightRecord& record,
                 const std::string& archiveFile, analysis::UnitSystem units);

}  // namespace tevusb::cli
