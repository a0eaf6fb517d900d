// SPDX-License-Identifier: MIT
#include "device/sim/pressure_sensor.h"

#include <algorithm>

#include "data/altitude_converter.h"

namespace tevusb::device::sim {

PressureSensor::PressureSensor(std::uint32_t seed, int bias) : m_engine(seed), m_bias(bias) {}

std::uint32_t PressureSensor::draw(std::uint32_t n) {
    return n == 0 ? 0 : static_cast<std::uint32_t>(m_engine() % n);
}

int PressureSensor::noise() {
    // Two three-valued draws: -2 and 2 are rare, 0 is the most common.
    return static_cast<int>(draw(3)) + static_cast<int>(draw(3)) - 2;
}

std::uint16_t PressureSensor::sample(double altitudeMsl) {
    const data::AltitudeConverter ideal(0);
    const int count = ideal.countForAltitude(altitudeMsl) + m_bias + noise();
    return static_cast<std::uint16_t>(std::clamp(count, 0, 0x3FFF));
}

}  // namespace tevusb::device::sim
