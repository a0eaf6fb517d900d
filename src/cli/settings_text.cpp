// SPDX-License-Identifier: MIT
#include "cli/settings_text.h"

#include "analysis/line_setting_text.h"

namespace tevusb::cli {

std::string settingsText(const settings::DeviceSettings& s) {
    std::string out;
    out += "Line A: " + analysis::lineSettingText(s.lineAMode, s.lineAValue) + "\n";
    out += "Line B: " + analysis::lineSettingText(s.lineBMode, s.lineBValue) + "\n";
    out += "Inhibit time: " + analysis::tenthsText(s.inhibitTime) + "\n";
    out += "ADC offset: " + std::to_string(s.adcOffset) + "\n";
    return out;
}

}  // namespace tevusb::cli
