// SPDX-License-Identifier: MIT
#include "analysis/profile_differences.h"

#include <algorithm>

#include "analysis/line_setting_text.h"

namespace tevusb::analysis {

namespace {

SettingDifference lineDifference(const char* name, std::uint8_t mode, std::uint16_t value,
                                 const settings::ProfileLine& wanted, UnitSystem units) {
    // A profile line without a value keeps the device's, so it is shown with it.
    const std::uint16_t wantedValue = wanted.value.value_or(value);
    const bool sameMode = mode == wanted.mode;
    const bool sameValue = !settings::modeUsesValue(mode) || value == wantedValue;
    return {name, lineSettingText(mode, value, units),
            lineSettingText(wanted.mode, wantedValue, units), !(sameMode && sameValue)};
}

}  // namespace

std::vector<SettingDifference> profileDifferences(const settings::DeviceSettings& device,
                                                  const settings::RocketProfile& profile,
                                                  UnitSystem units) {
    return {
        lineDifference("Line A", device.lineAMode, device.lineAValue, profile.lineA, units),
        lineDifference("Line B", device.lineBMode, device.lineBValue, profile.lineB, units),
        {"Inhibit", tenthsText(device.inhibitTime), tenthsText(profile.inhibitTime),
         device.inhibitTime != profile.inhibitTime},
    };
}

std::string differenceText(const SettingDifference& d) {
    if (!d.changed) {
        return d.setting + ": " + d.device + " (no change)";
    }
    return d.setting + ": " + d.device + " \u2192 " + d.profile;
}

bool anyChanged(const std::vector<SettingDifference>& differences) {
    return std::any_of(differences.begin(), differences.end(),
                       [](const SettingDifference& d) { return d.changed; });
}

}  // namespace tevusb::analysis
