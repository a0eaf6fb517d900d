// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "analysis/flight_statistics.h"
#include "analysis/units.h"

namespace tevusb::analysis {

// One statistic of several flights: its label, one value text per flight ("—" where the
// flight has none) and, for every flight but the first, the difference to the first
// ("+12.3 m", "-0.4 s"; empty where either value is missing).
struct ComparisonRow {
    std::string label;
    std::vector<std::string> values;
    std::vector<std::string> differences;  // [0] is always empty
};

// The statistics a flyer compares between flights, in `units`. Times of events are
// counted from each flight's launch, so flights that started recording at different
// moments compare fairly.
std::vector<ComparisonRow> comparisonRows(const std::vector<FlightStatistics>& flights,
                                          UnitSystem units);

}  // namespace tevusb::analysis
