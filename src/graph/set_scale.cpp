// SPDX-License-Identifier: MIT
#include "graph/set_scale.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "data/reading.h"

namespace tevusb::graph {

namespace {
// Both curves can reach the int limits only through corrupt values; their difference
// must still fit an int.
int clampedSpan(int low, int high) {
    const std::int64_t span = std::int64_t{high} - low;
    return static_cast<int>(std::clamp<std::int64_t>(span, INT_MIN, INT_MAX));
}
}  // namespace

data::GraphScale fitSetScale(const data::DataSet& set, int width, int height) {
    const std::size_t n = set.size();
    int low = INT_MAX;
    int high = INT_MIN;
    const std::size_t fitted = std::min({n, set.smoothedAltitude.size(), set.velocityKmh.size()});
    for (std::size_t i = 0; i < fitted; ++i) {
        const int a = data::truncateToInt(set.smoothedAltitude[i]);
        const int b = data::truncateToInt(set.velocityKmh[i]);
        low = std::min({low, a, b});
        high = std::max({high, a, b});
    }
    data::GraphScale scale;
    scale.width = width;
    scale.height = height;
    scale.xOrigin = 0;
    scale.xSpan = static_cast<int>(std::min<std::size_t>(n / 10, INT_MAX));
    if (fitted > 0) {
        scale.yOrigin = low;
        scale.ySpan = clampedSpan(low, high);
    }
    return scale;
}

}  // namespace tevusb::graph
