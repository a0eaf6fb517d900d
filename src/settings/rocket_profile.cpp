// SPDX-License-Identifier: MIT
#include "settings/rocket_profile.h"

#include <cmath>

namespace tevusb::settings {

namespace {

// Far above any battery this altimeter takes; a typo, not a battery.
constexpr double kHighestBatteryV = 30.0;

std::string lineProblem(const char* name, const ProfileLine& line) {
    if (line.mode > static_cast<std::uint8_t>(LineMode::Altitude)) {
        return std::string(name) + ": mode " + std::to_string(line.mode) +
               " is not one the altimeter knows (disabled, time, apogee or altitude).";
    }
    if (modeUsesValue(line.mode) && !line.value) {
        return std::string(name) + ": the " +
               (line.mode == static_cast<std::uint8_t>(LineMode::Time) ? "Time" : "Altitude") +
               " mode needs a value.";
    }
    return {};
}

}  // namespace

bool modeUsesValue(std::uint8_t mode) {
    return mode == static_cast<std::uint8_t>(LineMode::Time) ||
           mode == static_cast<std::uint8_t>(LineMode::Altitude);
}

ProfileLine profileLine(std::uint8_t mode, std::uint16_t value) {
    return {mode, modeUsesValue(mode) ? std::optional<std::uint16_t>(value) : std::nullopt};
}

std::string profileProblem(const RocketProfile& p) {
    const auto first = p.name.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return "Rocket name: a profile needs the rocket's name.";
    }
    if (p.name.find_first_of("\r\n") != std::string::npos) {
        return "Rocket name: the name must fit on one line.";
    }
    if (std::string why = lineProblem("Line A", p.lineA); !why.empty()) {
        return why;
    }
    if (std::string why = lineProblem("Line B", p.lineB); !why.empty()) {
        return why;
    }
    if (!std::isfinite(p.minBatteryV) || p.minBatteryV < 0 || p.minBatteryV > kHighestBatteryV) {
        return "Lowest battery voltage: enter volts from 0 to 30 V.";
    }
    if (p.expectedApogeeM && (!std::isfinite(*p.expectedApogeeM) || *p.expectedApogeeM < 0 ||
                              *p.expectedApogeeM > 100000.0)) {
        return "Expected apogee: enter metres from 0 to 100000 m, or leave it empty.";
    }
    return {};
}

DeviceSettings settingsWithProfile(const DeviceSettings& device, const RocketProfile& profile) {
    DeviceSettings s = device;
    s.lineAMode = profile.lineA.mode;
    if (profile.lineA.value && modeUsesValue(profile.lineA.mode)) {
        s.lineAValue = *profile.lineA.value;
    }
    s.lineBMode = profile.lineB.mode;
    if (profile.lineB.value && modeUsesValue(profile.lineB.mode)) {
        s.lineBValue = *profile.lineB.value;
    }
    s.inhibitTime = profile.inhibitTime;
    s.build();
    return s;
}

RocketProfile profileFromSettings(const std::string& name, const DeviceSettings& device) {
    RocketProfile p;
    p.name = name;
    p.lineA = profileLine(device.lineAMode, device.lineAValue);
    p.lineB = profileLine(device.lineBMode, device.lineBValue);
    p.inhibitTime = device.inhibitTime;
    return p;
}

}  // namespace tevusb::settings
