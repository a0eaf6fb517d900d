// SPDX-License-Identifier: MIT
#include "analysis/line_setting_text.h"

#include "settings/device_settings.h"

namespace tevusb::analysis {

std::string tenthsText(std::uint16_t tenths) {
    // Integer arithmetic: the text is exactly what the altimeter holds.
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s";
}

std::string lineSettingText(std::uint8_t mode, std::uint16_t value, UnitSystem units) {
    using settings::LineMode;
    switch (static_cast<LineMode>(mode)) {
        case LineMode::Disabled:
            return "Disabled";
        case LineMode::Time:
            return "Time " + tenthsText(value);
        case LineMode::Apogee:
            return "Apogee";
        case LineMode::Altitude: {
            const std::string metres = std::to_string(value) + " m";
            if (units == UnitSystem::Metric) {
                return "Altitude " + metres;
            }
            return "Altitude " + formatQuantity(Quantity::Altitude, value, units, 0) + " (" +
                   metres + ")";
        }
    }
    return "Mode " + std::to_string(mode) + " (unknown)";
}

}  // namespace tevusb::analysis
