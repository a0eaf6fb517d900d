// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace tevusb::graph {

// Evenly spaced tick values on a 1-2-5 x 10^k step, and how many decimals their labels
// need so that neighbouring labels never read the same.
struct AxisTicks {
    double step = 1.0;
    int decimals = 0;
    std::vector<double> values;

    // The value as its tick label shows it ("-0" never appears).
    QString label(double value) const;
};

// The smallest 1-2-5 step that divides `span` into at most `maxIntervals` parts.
double niceStep(double span, int maxIntervals);

// The ticks inside [low, high] for at most `maxIntervals` intervals (at least one tick
// when the range is a point). A range that is empty, reversed or not finite gives none.
AxisTicks axisTicks(double low, double high, int maxIntervals);

// The densest ticks (at most 8 intervals) whose labels fit `lengthPx` of axis:
// `labelExtent` gives the room one label needs along the axis, spacing included.
AxisTicks fittedTicks(double low, double high, double lengthPx,
                      const std::function<double(const QString&)>& labelExtent);

}  // namespace tevusb::graph
