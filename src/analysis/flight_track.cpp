// SPDX-License-Identifier: MIT
#include "analysis/flight_track.h"

#include <algorithm>
#include <cmath>

#include "analysis/series_fit.h"

namespace tevusb::analysis {

namespace {
constexpr std::size_t kGroundSamples = 10;
constexpr double kMinBand = 1.0;           // metres: one or two ADC counts
constexpr double kBandSigmas = 4.0;        // noise stays inside this almost always
constexpr double kMinLaunchHeight = 10.0;  // metres
constexpr double kLaunchSigmas = 8.0;
}  // namespace

FlightTrack FlightTrack::fromSeries(const double* in, std::size_t n) {
    FlightTrack track;
    track.agl.resize(n);
    double last = 0.0;
    bool seen = false;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::isfinite(in[i])) {
            last = in[i];
            seen = true;
        }
        track.agl[i] = last;
    }
    track.anyFinite = seen;
    if (!seen) {
        return track;
    }
    const std::size_t pad = std::min(kGroundSamples, track.agl.size());
    track.ground = median(std::vector<double>(
        track.agl.begin(), track.agl.begin() + static_cast<std::ptrdiff_t>(pad)));
    track.noise = noiseSigma(track.agl);
    track.band = std::max(kMinBand, kBandSigmas * track.noise);
    track.launchHeight =
        std::max({kMinLaunchHeight, kLaunchSigmas * track.noise, 2.0 * track.band});
    return track;
}

}  // namespace tevusb::analysis
