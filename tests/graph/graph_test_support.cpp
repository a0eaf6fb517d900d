// SPDX-License-Identifier: MIT
#include "graph_test_support.h"

#include <algorithm>

#include "data/altitude_converter.h"
#include "log/diagnostic_log.h"

namespace tevusb::graph::testing {

bool colourNear(const QImage& image, int x, int y, QRgb colour, int radius) {
    for (int yy = y - radius; yy <= y + radius; ++yy) {
        for (int xx = x - radius; xx <= x + radius; ++xx) {
            if (image.valid(xx, yy) && image.pixel(xx, yy) == opaque(colour)) {
                return true;
            }
        }
    }
    return false;
}

int countColour(const QImage& image, const QRect& area, QRgb colour) {
    const QRect clipped = area.intersected(image.rect());
    int n = 0;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            n += image.pixel(x, y) == opaque(colour) ? 1 : 0;
        }
    }
    return n;
}

void loadFlight(data::DataSetStore& store, const synthetic::FlightProfile& profile) {
    store.settings.adcOffset = profile.adcOffset;
    store.packets = synthetic::packWords(synthetic::flightWords(profile));
}

void loadFlatFlight(data::DataSetStore& store, const std::vector<std::uint8_t>& flags) {
    store.settings.adcOffset = 0;
    const int count = data::AltitudeConverter(0).countForAltitude(250.0);
    std::vector<std::uint16_t> words;
    for (const std::uint8_t f : flags) {
        words.push_back(static_cast<std::uint16_t>(count | (f << 14)));
    }
    store.packets = synthetic::packWords(words);
}

}  // namespace tevusb::graph::testing
