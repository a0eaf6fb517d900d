// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "settings/device_settings.h"

namespace tevusb::device::sim {

// What the firmware's flight logic takes from the settings image. Decoded straight from
// the 17 bytes, without DeviceSettings::parse, so the simulated device never writes to
// the program's diagnostic log. An image with a bad checksum is what a real device
// would refuse too: it then flies on the factory defaults.
struct FlightRules {
    settings::LineMode lineAMode = settings::LineMode::Apogee;
    settings::LineMode lineBMode = settings::LineMode::Altitude;
    std::uint16_t lineAValue = 150;  // tenths of a second (Time) or metres (Altitude)
    std::uint16_t lineBValue = 150;
    std::uint16_t inhibitTime = 20;  // tenths of a second after launch
    int adcOffset = 0;
    std::uint16_t maxReadings = 992;

    static FlightRules fromImage(const settings::SettingsImage& image);
};

}  // namespace tevusb::device::sim
