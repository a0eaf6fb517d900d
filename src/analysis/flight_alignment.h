// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "analysis/flight_statistics.h"

namespace tevusb::analysis {

// The moment of each flight that several flights are lined up on.
enum class AlignAt { Launch, Apogee };

// One flight on the common time axis: its own time t lies at t - anchorS there.
struct AlignedFlight {
    double anchorS = 0.0;   // the flight's own time of the moment aligned on
    bool anchored = false;  // false: the flight lacks that moment and starts at 0 instead
    double startS = 0.0;    // first reading on the common axis (-anchorS)
    double endS = 0.0;      // last reading on the common axis
};

// Flights lined up on a moment, and the span of the common axis that holds them all.
struct FlightAlignment {
    std::vector<AlignedFlight> flights;
    double startS = 0.0;
    double endS = 0.0;
};

// Lines the flights up on their launch or their apogee. A flight without that moment
// keeps its recording's start at 0, so it is still shown and flagged as not anchored.
FlightAlignment alignFlights(const std::vector<FlightStatistics>& flights, AlignAt at);

}  // namespace tevusb::analysis
