// SPDX-License-Identifier: MIT
#include "device/sim/flight_rules.h"

namespace tevusb::device::sim {

namespace {

std::uint16_t get16(const settings::SettingsImage& image, std::size_t at) {
    return static_cast<std::uint16_t>(image[at] | (image[at + 1] << 8));
}

settings::LineMode modeOf(unsigned nibble) {
    // Modes above Altitude are never written by the program; the firmware treats
    // anything it does not know as a line that must not fire.
    return nibble <= 3 ? static_cast<settings::LineMode>(nibble) : settings::LineMode::Disabled;
}

}  // namespace

FlightRules FlightRules::fromImage(const settings::SettingsImage& image) {
    FlightRules rules;
    if (settings::computeChecksum(image) != get16(image, 15)) {
        return rules;
    }
    rules.maxReadings = get16(image, 0);
    rules.inhibitTime = get16(image, 5);
    rules.adcOffset = static_cast<std::int16_t>(get16(image, 8));
    rules.lineAMode = modeOf(image[10] & 0x0Fu);
    rules.lineBMode = modeOf(image[10] >> 4);
    rules.lineAValue = get16(image, 11);
    rules.lineBValue = get16(image, 13);
    return rules;
}

}  // namespace tevusb::device::sim
