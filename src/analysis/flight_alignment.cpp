// SPDX-License-Identifier: MIT
#include "analysis/flight_alignment.h"

#include <algorithm>

namespace tevusb::analysis {

namespace {

std::optional<double> anchorOf(const FlightStatistics& s, AlignAt at) {
    if (at == AlignAt::Launch) {
        return s.launchTimeS;
    }
    if (s.apogee) {
        return s.apogee->timeS;
    }
    return std::nullopt;
}

}  // namespace

FlightAlignment alignFlights(const std::vector<FlightStatistics>& flights, AlignAt at) {
    FlightAlignment result;
    for (const FlightStatistics& s : flights) {
        AlignedFlight f;
        const auto anchor = anchorOf(s, at);
        f.anchored = anchor.has_value();
        f.anchorS = anchor.value_or(0.0);
        f.startS = -f.anchorS;
        f.endS = s.durationS - f.anchorS;
        if (result.flights.empty()) {
            result.startS = f.startS;
            result.endS = f.endS;
        } else {
            result.startS = std::min(result.startS, f.startS);
            result.endS = std::max(result.endS, f.endS);
        }
        result.flights.push_back(f);
    }
    return result;
}

}  // namespace tevusb::analysis
