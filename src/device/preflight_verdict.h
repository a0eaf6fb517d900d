// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "data/preflight_report.h"
#include "settings/device_settings.h"
#include "settings/rocket_profile.h"

namespace tevusb::device {

// What the altimeter said during a pre-flight check.
struct PreflightReadings {
    settings::DeviceSettings settings;
    bool settingsValid = false;
    std::uint16_t firmwareVersion = 0;
    std::uint16_t batteryTenths = 0;
    double pressureKpa = 0.0;
    double groundMslM = 0.0;
    int packetsUsed = 0;  // of the 128 the memory holds
    int setCount = 0;
};

// What the library said of the flights in the memory.
struct KeptAnswer {
    int notKept = 0;      // sets the library does not hold
    std::string problem;  // why every set counts as not kept; empty when the library answered
};

inline constexpr int kMemoryPackets = 128;
// Within this much of the profile's lowest battery voltage the battery item warns.
inline constexpr int kBatteryMarginTenths = 3;
// The ground pressures the sensor reads sensibly, in kPa.
inline constexpr double kLowestSensiblePressureKpa = 50.0;
inline constexpr double kHighestSensiblePressureKpa = 108.5;

// The verdict, item by item, in the order settings, battery, memory, firmware, pressure.
data::PreflightReport assessPreflight(const PreflightReadings& readings,
                                      const settings::RocketProfile& profile,
                                      const KeptAnswer& kept);

// The report when the altimeter's firmware is not the one this program supports: the
// firmware item alone, no-go.
data::PreflightReport firmwareRefused(const settings::RocketProfile& profile,
                                      std::uint16_t version);

// The verdict in one line, as both fronts head the items with it: "no-go: " and the first
// no-go item's sentence, or "go: ready for flight with the profile "Nova"".
std::string verdictLine(const data::PreflightReport& report);

}  // namespace tevusb::device
