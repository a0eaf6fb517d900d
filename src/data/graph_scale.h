// SPDX-License-Identifier: MIT
#pragma once

namespace tevusb::data {

// The graph's linear mapping of time and value onto the window, kept with the flight
// data because every view of the one program-wide store shares it.
struct GraphScale {
    int xOrigin = 0;  // seconds at the left edge of the plot area
    int yOrigin = 0;  // metres (or km/h) at the bottom edge
    int xSpan = 0;    // seconds across the plot area
    int ySpan = 0;    // metres (or km/h) up the plot area
    int width = 0;    // client size in pixels
    int height = 0;
};

}  // namespace tevusb::data
