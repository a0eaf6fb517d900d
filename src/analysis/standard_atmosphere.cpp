// SPDX-License-Identifier: MIT
#include "analysis/standard_atmosphere.h"

#include <algorithm>
#include <cmath>

namespace tevusb::analysis {

namespace {

constexpr double kSeaLevelTemperatureK = 288.15;
constexpr double kSeaLevelPressurePa = 101325.0;
constexpr double kLapseRateKPerM = 0.0065;
constexpr double kGasConstant = 287.05287;  // J/(kg K), dry air
constexpr double kGravity = 9.80665;
constexpr double kTropopauseM = 11000.0;

}  // namespace

double standardDensity(double altitudeMslM) {
    if (!std::isfinite(altitudeMslM)) {
        altitudeMslM = 0.0;
    }
    const double h = std::clamp(altitudeMslM, -1000.0, 20000.0);
    const double exponent = kGravity / (kLapseRateKPerM * kGasConstant);
    const double lowH = std::min(h, kTropopauseM);
    const double t = kSeaLevelTemperatureK - kLapseRateKPerM * lowH;
    double p = kSeaLevelPressurePa * std::pow(t / kSeaLevelTemperatureK, exponent);
    if (h > kTropopauseM) {
        p *= std::exp(-kGravity * (h - kTropopauseM) / (kGasConstant * t));
    }
    return p / (kGasConstant * t);
}

}  // namespace tevusb::analysis
