// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

namespace tevusb::data {

// The live altitude series of the set being downloaded, with its peak and the range
// the live graph shows.
struct FastSet {
    struct Range {
        int x = 0;
        int y = 0;
        int width = 1;
        int height = 1;
    };

    std::vector<double> values;  // metres above the first value
    Range range;
    float maxTime = 0.0f;      // seconds
    float maxAltitude = 0.0f;  // metres
    double ground = 0.0;       // altitude MSL of the first value

    // Empties the values and the peak; the range and ground stay as they are.
    void clear();
    // Adds one reading word (empty slots are ignored).
    void add(std::uint16_t word, int adcOffset);
};

}  // namespace tevusb::data
