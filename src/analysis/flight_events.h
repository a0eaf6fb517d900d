// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>

#include "analysis/flight_track.h"

namespace tevusb::analysis {

// An event placed between samples: the nearest sample and the estimated time.
struct TrackEvent {
    std::size_t sample = 0;
    double timeS = 0.0;
};

// The start of the first sustained climb past the launch height: found backwards from
// the first crossing to the last sample on the ground, then placed by fitting the early
// climb (sqrt of the height rises linearly at constant thrust) back to ground level.
std::optional<TrackEvent> findLaunch(const FlightTrack& track);

// The highest sample at or after `from`.
std::size_t highestFrom(const FlightTrack& track, std::size_t from);

// The end of powered ascent between launch and `top`: the peak of the climb rate, then
// placed where the velocity lines of boost and coast (from parabola fits) meet.
std::optional<TrackEvent> findBurnout(const FlightTrack& track, std::size_t launch,
                                      std::size_t top);

// The largest acceleration of the boost: the second derivative of parabolas fitted over
// windows (up to 1.1 s) that lie wholly between launch and burnout.
struct PeakAcceleration {
    TrackEvent at;
    double ms2 = 0.0;
};
std::optional<PeakAcceleration> findPeakAcceleration(const FlightTrack& track, double launchS,
                                                     double burnoutS);

// The start of the final flat stretch (at least a second long, level within the noise
// band, after `after`); level is the altitude it rests at.
struct Landing {
    TrackEvent at;
    double level = 0.0;
};
std::optional<Landing> findLanding(const FlightTrack& track, std::size_t after);

}  // namespace tevusb::analysis
