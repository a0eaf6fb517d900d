// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

namespace tevusb::graph {

// Extremes of a run of values. Values that are not numbers are passed over by low and
// high; finite is false when the run holds a NaN or an infinity.
struct SeriesExtent {
    double low;
    double high;
    bool finite;
};

// Scans v[0 .. n-1], n >= 1. These scans dominate the drawing of a huge set, so they
// run several lanes at once.
SeriesExtent scanExtent(const double* v, std::size_t n);

// The largest value of v[0 .. n-1] that is a number; v[0] itself when nothing is larger.
double largestValue(const double* v, std::size_t n);

}  // namespace tevusb::graph
