// SPDX-License-Identifier: MIT
#include "data/data_set.h"

#include <cmath>
#include <string>

#include "data/altitude_converter.h"
#include "log/diagnostic_log.h"

namespace tevusb::data {

namespace {

constexpr int kSmoothingHalfWidth = 40;
constexpr int kVelocityHalfWidth = 5;
constexpr double kVelocityWeightCap = 0.8;

struct Window {
    int lo;
    int hi;
};

// The window never leaves [0, n-1]; near the ends it becomes one-sided.
Window windowAround(int i, int n, int w) {
    Window win{-w, w};
    if (i - w < 0) {
        win.lo = -i;
    }
    if (i + w >= n) {
        win.hi = n - i - 1;
    }
    return win;
}

// Adaptive smoothing: where the input moves little inside the window the output
// holds, where it moves fast the output follows. A window of zero width (a set of
// one reading) gets weight 1 instead of dividing 0 by 0, so the output stays 0.
void smoothAdaptive(const std::vector<double>& in, std::vector<double>& out, bool capWeight,
                    std::string* weightLog) {
    const int n = static_cast<int>(in.size());
    double prev = 0.0;
    for (int i = 0; i < n; ++i) {
        const Window win = windowAround(i, n, kSmoothingHalfWidth);
        const int span = win.hi - win.lo;
        double a = 1.0;
        if (span > 0) {
            double sum = 0.0;
            for (int j = i + win.lo; j < i + win.hi; ++j) {
                sum += std::fabs(in[i] - in[j]);
            }
            const double mean = sum / span;
            a = std::pow(0.95, 10.0 * mean / span);
        }
        if (capWeight && kVelocityWeightCap < a) {
            a = kVelocityWeightCap;
        }
        if (weightLog != nullptr) {
            log::DiagnosticLog::appendNumber(*weightLog, a);
            weightLog->push_back(' ');
        }
        out[i] = (1.0 - a) * in[i] + a * prev;
        prev = out[i];
    }
}

}  // namespace

void DataSet::clear() {
    adcCounts.clear();
    voltage.clear();
    pressure.clear();
    altitudeMsl.clear();
    altitudeAgl.clear();
    smoothedAltitude.clear();
    velocity.clear();
    smoothedVelocity.clear();
    velocityKmh.clear();
    lineFlags.clear();
}

void DataSet::deriveSeries(int adcOffset) {
    const std::size_t n = adcCounts.size();
    for (auto* series : {&voltage, &pressure, &altitudeMsl, &altitudeAgl, &smoothedAltitude,
                         &velocity, &smoothedVelocity, &velocityKmh}) {
        series->assign(n, 0.0);
    }
    const AltitudeConverter converter(adcOffset);
    for (std::size_t i = 0; i < n; ++i) {
        const double count = adcCounts[i];
        voltage[i] = converter.voltage(count);
        pressure[i] = converter.pressure(count);
        altitudeMsl[i] = converter.altitude(count);
        altitudeAgl[i] = altitudeMsl[i] - altitudeMsl[0];
    }

    std::string weights;
    weights.reserve(n * 9 + 1);
    smoothAdaptive(altitudeAgl, smoothedAltitude, false, &weights);
    // One write for the whole list keeps it in one piece among other threads' lines;
    // the final line feed keeps the next log line from being glued onto it.
    weights.push_back('\n');
    log::DiagnosticLog::instance().writeRaw(weights, true);

    const int count = static_cast<int>(n);
    for (int i = 0; i < count; ++i) {
        const Window win = windowAround(i, count, kVelocityHalfWidth);
        const int span = win.hi - win.lo;
        velocity[i] =
            span > 0 ? (smoothedAltitude[i + win.hi] - smoothedAltitude[i + win.lo]) / (span / 10.0)
                     : 0.0;
    }
    smoothAdaptive(velocity, smoothedVelocity, true, nullptr);
    for (std::size_t i = 0; i < n; ++i) {
        velocityKmh[i] = smoothedVelocity[i] * 3.6;
    }
}

}  // namespace tevusb::data
