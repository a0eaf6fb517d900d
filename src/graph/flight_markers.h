// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "analysis/flight_statistics.h"
#include "analysis/units.h"
#include "graph/analysis_view_state.h"

namespace tevusb::graph {

// The analysis view's own markers, in time order of the flight's phases: launch,
// burnout, apogee (with its height), Line A, Line B and landing. A statistic the
// analysis could not determine gives no marker.
std::vector<ExtraMarker> flightMarkers(const analysis::FlightStatistics& statistics,
                                       analysis::UnitSystem units);

}  // namespace tevusb::graph
