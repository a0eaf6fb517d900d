// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <vector>

namespace tevusb::analysis {

// The altitude series the event detection works on: every value a finite number (a
// value that is not one holds the last good value), with the ground level and the
// sensor noise measured from the series itself.
struct FlightTrack {
    std::vector<double> agl;  // metres above the first reading, all finite
    bool anyFinite = false;   // false when no altitude of the set was a number
    double ground = 0.0;      // median of the first second
    double noise = 0.0;       // standard deviation of one reading, metres
    double band = 0.0;        // half-width of "still on the ground"
    double launchHeight = 0;  // height above ground a flight must climb past

    std::size_t size() const { return agl.size(); }
    double time(std::size_t i) const { return static_cast<double>(i) / 10.0; }
    double height(std::size_t i) const { return agl[i] - ground; }

    // The track of agl[0 .. n-1].
    static FlightTrack fromSeries(const double* agl, std::size_t n);
};

}  // namespace tevusb::analysis
