// SPDX-License-Identifier: MIT
#include "cli/settings_text.h"

#include "log/diagnostic_log.h"

namespace tevusb::cli {

namespace {

std::string tenths(unsigned value) {
    std::string s;
    log::DiagnosticLog::appendNumber(s, value / 10.0);
    return s;
}

}  // namespace

std::string lineText(std::uint8_t mode, std::uint16_t value) {
    using settings::LineMode;
    switch (static_cast<LineMode>(mode)) {
        case LineMode::Disabled:
            return "Disabled";
        case LineMode::Time:
            return "Time " + tenths(value) + " s";
        case LineMode::Apogee:
            return "Apogee";
        case LineMode::Altitude:
            return "Altitude " + std::to_string(value) + " m";
    }
    return "Unknown mode " + std::to_string(mode);
}

std::string settingsText(const settings::DeviceSettings& s) {
    std::string out;
    out += "Line A: " + lineText(s.lineAMode, s.lineAValue) + "\n";
    out += "Line B: " + lineText(s.lineBMode, s.lineBValue) + "\n";
    out += "Inhibit time: " + tenths(s.inhibitTime) + " s\n";
    out += "ADC offset: " + std::to_string(s.adcOffset) + "\n";
    return out;
}

}  // namespace tevusb::cli
