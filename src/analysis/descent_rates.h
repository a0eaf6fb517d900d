// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>

#include "analysis/flight_track.h"
#include "analysis/series_fit.h"

namespace tevusb::analysis {

// The steady descent rate over samples [first, last]: a least-squares line over the
// phase, trimmed of the seconds the rocket needs to settle onto its parachute (judged
// from a first fit over the phase's second half) and of the moment before it ends.
// Positive m/s; none for a phase too short to fit or one that does not descend.
struct DescentFit {
    double rateMs = 0.0;
    LineFit line;
};
std::optional<DescentFit> fitDescent(const FlightTrack& track, std::size_t first, std::size_t last);

}  // namespace tevusb::analysis
