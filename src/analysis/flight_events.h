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
// climb (sqrt of the height rises linearly at constant thrust) back to ground level. A
// rise that takes over 3 s from the ground to the launch height is no launch.
std::optional<TrackEvent> findLaunch(const FlightTrack& track);

// The highest sample at or after `from`.
std::size_t highestFrom(const FlightTrack& track, std::size_t from);

// The end of powered ascent between launch and `top`: the peak of the climb rate, then
// placed where the velocity lines of boost and coast meet (parabola fits over up to 1 s
// of boost and 1.5 s of coast, split again at the crossing).
std::optional<TrackEvent> findBurnout(const FlightTrack& track, std::size_t launch,
                                      std::size_t top);

// The largest acceleration of the boost: the second derivative of parabolas fitted over
// windows (0.9 to 1.1 s) wholly between launch and burnout; for a shorter boost, its mean
// acceleration from fitting h = a/2 (t - launch)^2.
struct PeakAcceleration {
    TrackEvent at;
    double ms2 = 0.0;
};
std::optional<PeakAcceleration> findPeakAcceleration(const FlightTrack& track, double launchS,
                                                     double burnoutS);

// The start of the final flat stretch (at least 1.5 s long, level within the noise band,
// its slope under 1.5 m/s, after `after`); level is the altitude it rests at. A recording
// that ends sooner after touchdown lands where its samples come down to the launch site's
// level (within the ground band) and stay there to the end, however briefly.
struct Landing {
    TrackEvent at;
    double level = 0.0;
};
std::optional<Landing> findLanding(const FlightTrack& track, std::size_t after);

}  // namespace tevusb::analysis
