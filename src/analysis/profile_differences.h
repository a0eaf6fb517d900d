// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "analysis/units.h"
#include "settings/device_settings.h"
#include "settings/rocket_profile.h"

namespace tevusb::analysis {

// One setting a profile decides, as the device holds it and as the profile wants it.
struct SettingDifference {
    std::string setting;  // "Line A", "Line B", "Inhibit"
    std::string device;   // "Altitude 150 m"
    std::string profile;  // "Altitude 200 m"
    bool changed = false;
};

// Line A, Line B and the inhibit time, in that order. A line in the Apogee or Disabled mode
// on both sides counts as equal whatever value it carries: the altimeter does not use it.
std::vector<SettingDifference> profileDifferences(const settings::DeviceSettings& device,
                                                  const settings::RocketProfile& profile,
                                                  UnitSystem units = UnitSystem::Metric);

// "Line B: Altitude 150 m → Altitude 200 m", or "Line A: Apogee (no change)".
std::string differenceText(const SettingDifference& difference);

// Whether any line mode, used value or the inhibit time differs.
bool anyChanged(const std::vector<SettingDifference>& differences);

}  // namespace tevusb::analysis
