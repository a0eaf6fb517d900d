// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>

#include "data/data_set_store.h"
#include "graph/synthetic/synthetic_flight.h"
#include "support/log_capture.h"

namespace tevusb::graph::testing {

using tevusb::testing::LogCapture;

// Opaque colour of an ARGB or raw 0x00RRGGBB value, as an RGB32 image holds it.
constexpr QRgb opaque(QRgb value) {
    return value | 0xFF000000u;
}

// True when a pixel of the colour lies within radius of (x, y) (a square neighbourhood).
bool colourNear(const QImage& image, int x, int y, QRgb colour, int radius = 1);

// Number of pixels of the colour inside the rectangle (clipped to the image).
int countColour(const QImage& image, const QRect& area, QRgb colour);

// Fills the store's image with one synthetic flight (set 0).
void loadFlight(data::DataSetStore& store, const synthetic::FlightProfile& profile);

// Fills the store's image with a flat flight at ground level whose words carry the flags.
void loadFlatFlight(data::DataSetStore& store, const std::vector<std::uint8_t>& flags);

}  // namespace tevusb::graph::testing
