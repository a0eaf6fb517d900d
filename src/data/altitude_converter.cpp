// SPDX-License-Identifier: MIT
#include "data/altitude_converter.h"

#include <cmath>

#include "data/reading.h"

namespace tevusb::data {

namespace {
constexpr double kSupplyVoltage = 5.0;
constexpr double kSensorOffset = 0.095;
constexpr double kSensorSlope = 0.009;
constexpr double kSeaLevelPressure = 101.325;
constexpr double kBarometricExponent = 0.190263;
constexpr double kAltitudeScale = 44330.321;
}  // namespace

int truncateToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483647.0) {
        return 2147483647;
    }
    if (value <= -2147483648.0) {
        return -2147483647 - 1;
    }
    return static_cast<int>(value);
}

AltitudeConverter::AltitudeConverter(int adcOffset)
    : m_offset(static_cast<double>(adcOffset)),
      m_fullScale(static_cast<int>(std::pow(2.0, 14.0))) {}

double AltitudeConverter::voltage(double count) const {
    return (count + m_offset) * kSupplyVoltage / m_fullScale;
}

double AltitudeConverter::pressure(double count) const {
    return (voltage(count) / kSupplyVoltage + kSensorOffset) / kSensorSlope;
}

double AltitudeConverter::altitude(double count) const {
    return (1.0 - std::pow(pressure(count) / kSeaLevelPressure, kBarometricExponent)) *
           kAltitudeScale;
}

int AltitudeConverter::countForAltitude(double altitude) const {
    const double p =
        kSeaLevelPressure * std::pow(1.0 - altitude / kAltitudeScale, 1.0 / kBarometricExponent);
    const double v = (kSensorSlope * p - kSensorOffset) * kSupplyVoltage;
    return truncateToInt(m_fullScale * v / kSupplyVoltage);
}

}  // namespace tevusb::data
