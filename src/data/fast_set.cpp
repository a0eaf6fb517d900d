// SPDX-License-Identifier: MIT
#include "data/fast_set.h"

#include "data/altitude_converter.h"
#include "data/reading.h"

namespace tevusb::data {

void FastSet::clear() {
    values.clear();
    maxTime = 0.0f;
    maxAltitude = 0.0f;
}

void FastSet::add(std::uint16_t word, int adcOffset) {
    if (word == reading::kEmptySlot) {
        return;
    }
    const double alt = AltitudeConverter(adcOffset).altitude(reading::count(word));
    if (values.empty()) {
        ground = alt;
    }
    const double v = alt - ground;
    values.push_back(v);
    const auto n = static_cast<int>(values.size());
    if (maxAltitude < v) {
        maxAltitude = static_cast<float>(v);
        maxTime = static_cast<float>((n - 1) / 10.0);
    }
    range = Range{0, 0, ((n + 50) / 50) * 5, truncateToInt(maxAltitude)};
}

}  // namespace tevusb::data
