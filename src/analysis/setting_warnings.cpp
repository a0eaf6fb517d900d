// SPDX-License-Identifier: MIT
#include "analysis/setting_warnings.h"

#include "analysis/line_setting_text.h"

#include <cmath>

namespace tevusb::analysis {

namespace {

using settings::LineMode;

void lowLine(std::vector<std::string>& out, const char* line, std::uint8_t mode,
             std::uint16_t value) {
    if (mode != static_cast<std::uint8_t>(LineMode::Altitude) ||
        value >= kLowestSensibleLineAltitude) {
        return;
    }
    out.push_back(std::string(line) + " fires at " + std::to_string(value) +
                  " m above the launch site" +
                  (value == 0 ? ", that is on the pad or at launch"
                              : ", below " + std::to_string(kLowestSensibleLineAltitude) +
                                    " m, too low for a parachute to open") +
                  ".");
}

void aboveApogee(std::vector<std::string>& out, const char* line, std::uint8_t mode,
                 std::uint16_t value, std::optional<double> apogee) {
    if (!apogee || mode != static_cast<std::uint8_t>(LineMode::Altitude) ||
        static_cast<double>(value) <= *apogee) {
        return;
    }
    // Descending, the rocket is below that altitude from apogee on.
    out.push_back(std::string(line) + " fires at " + std::to_string(value) +
                  " m, above the highest apogee of this rocket's flights in the library (" +
                  std::to_string(std::lround(*apogee)) +
                  " m): it would fire at apogee, at full speed.");
}

}  // namespace

std::vector<std::string> settingWarnings(const settings::DeviceSettings& s,
                                         std::optional<double> highestApogeeM) {
    std::vector<std::string> out;
    lowLine(out, "Line A", s.lineAMode, s.lineAValue);
    lowLine(out, "Line B", s.lineBMode, s.lineBValue);
    // Two disabled lines are warned of already; in Apogee mode the value is not used.
    const bool sameMode =
        s.lineAMode == s.lineBMode && s.lineAMode != static_cast<std::uint8_t>(LineMode::Disabled);
    if (sameMode && (s.lineAMode == static_cast<std::uint8_t>(LineMode::Apogee) ||
                     s.lineAValue == s.lineBValue)) {
        out.push_back("Line A and Line B are set the same (" +
                      lineSettingText(s.lineAMode, s.lineAValue) +
                      "): both charges fire at the same moment.");
    }
    aboveApogee(out, "Line A", s.lineAMode, s.lineAValue, highestApogeeM);
    aboveApogee(out, "Line B", s.lineBMode, s.lineBValue, highestApogeeM);
    return out;
}

}  // namespace tevusb::analysis
