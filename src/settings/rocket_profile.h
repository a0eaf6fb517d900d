// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/device_settings.h"

namespace tevusb::settings {

// One ejection line as a rocket needs it. In the Apogee and Disabled modes the altimeter
// does not use a value, so a profile holds none there.
struct ProfileLine {
    std::uint8_t mode = static_cast<std::uint8_t>(LineMode::Apogee);
    std::optional<std::uint16_t> value;  // tenths of a second (Time) or metres (Altitude)
    bool operator==(const ProfileLine&) const = default;
};

// What one rocket needs from the altimeter, and what the pre-flight check holds it to.
// Its name is the rocket name the library's flights carry.
struct RocketProfile {
    std::string name;
    ProfileLine lineA{static_cast<std::uint8_t>(LineMode::Apogee), std::nullopt};
    ProfileLine lineB{static_cast<std::uint8_t>(LineMode::Altitude), 150};
    std::uint16_t inhibitTime = 20;  // tenths of a second
    double minBatteryV = 7.0;
    std::optional<double> expectedApogeeM;
    std::string notes;
    bool operator==(const RocketProfile&) const = default;
};

// Whether a line's mode uses its value (Time and Altitude do).
bool modeUsesValue(std::uint8_t mode);

// The line as a profile keeps it: the value dropped where the mode does not use it.
ProfileLine profileLine(std::uint8_t mode, std::uint16_t value);

// Why the profile cannot be kept or written, as one sentence naming the field; empty when
// it can. Values outside what the settings image holds cannot be typed in the first
// place (the entry checks refuse them), so this covers what the types let through.
std::string profileProblem(const RocketProfile& profile);

// `device` with the profile's line modes, the values of lines that use one, and the inhibit
// time; the calibration offset, the four device parameters and unused line values stay as
// the device holds them. The image is rebuilt.
DeviceSettings settingsWithProfile(const DeviceSettings& device, const RocketProfile& profile);

// The profile's part of the settings read from a device, under `name`; the rest defaults.
RocketProfile profileFromSettings(const std::string& name, const DeviceSettings& device);

}  // namespace tevusb::settings
