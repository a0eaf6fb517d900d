// SPDX-License-Identifier: MIT
#include "graph/axis_ticks.h"

#include <algorithm>
#include <cmath>

namespace tevusb::graph {

namespace {
constexpr int kMostIntervals = 8;
// A wild range (corrupt readings) would otherwise ask for millions of ticks.
constexpr std::size_t kTickLimit = 64;
}  // namespace

QString AxisTicks::label(double value) const {
    // A value within rounding of zero prints as "0", never "-0.0".
    const double shown = std::abs(value) < step * 1e-6 ? 0.0 : value;
    return QString::number(shown, 'f', decimals);
}

double niceStep(double span, int maxIntervals) {
    if (!std::isfinite(span) || span <= 0.0 || maxIntervals < 1) {
        return 1.0;
    }
    const double raw = span / maxIntervals;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        // A hair of slack so that 0.3 / 6 picks 0.05 and not 0.1 through rounding.
        if (m * decade >= raw * (1.0 - 1e-9)) {
            return m * decade;
        }
    }
    return 10.0 * decade;
}

AxisTicks axisTicks(double low, double high, int maxIntervals) {
    AxisTicks ticks;
    if (!std::isfinite(low) || !std::isfinite(high) || high < low) {
        return ticks;
    }
    ticks.step = niceStep(high - low, maxIntervals);
    const int exponent = static_cast<int>(std::floor(std::log10(ticks.step) + 1e-9));
    ticks.decimals = std::max(0, -exponent);
    const double slack = ticks.step * 1e-9;
    const double first = std::ceil((low - slack) / ticks.step);
    const double last = std::floor((high + slack) / ticks.step);
    for (double k = first; k <= last && ticks.values.size() < kTickLimit; k += 1.0) {
        ticks.values.push_back(k * ticks.step);
    }
    return ticks;
}

AxisTicks fittedTicks(double low, double high, double lengthPx,
                      const std::function<double(const QString&)>& labelExtent) {
    AxisTicks ticks;
    for (int intervals = kMostIntervals; intervals >= 1; --intervals) {
        ticks = axisTicks(low, high, intervals);
        if (ticks.values.size() < 2 || high <= low) {
            return ticks;
        }
        double widest = 0.0;
        for (const double v : ticks.values) {
            widest = std::max(widest, labelExtent(ticks.label(v)));
        }
        const double spacingPx = ticks.step / (high - low) * lengthPx;
        if (widest <= spacingPx) {
            return ticks;
        }
    }
    // Not even two labels fit: keep only the first, which overlaps nothing.
    if (ticks.values.size() > 1) {
        ticks.values.resize(1);
    }
    return ticks;
}

}  // namespace tevusb::graph
