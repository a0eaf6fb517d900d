// SPDX-License-Identifier: MIT
#include "report/report_text.h"

namespace tevusb::report {

namespace {

std::string tenthsOfSecond(unsigned tenths) {
    return analysis::formatNumber(tenths / 10.0, 1) + " s";
}

}  // namespace

std::string lineSettingText(std::uint8_t mode, std::uint16_t value, analysis::UnitSystem units) {
    using settings::LineMode;
    switch (static_cast<LineMode>(mode)) {
        case LineMode::Disabled:
            return "Disabled";
        case LineMode::Time:
            return "Time " + tenthsOfSecond(value);
        case LineMode::Apogee:
            return "Apogee";
        case LineMode::Altitude: {
            // The altimeter keeps whole metres; an imperial reader also sees what was set.
            const std::string metres = std::to_string(value) + " m";
            if (units == analysis::UnitSystem::Metric) {
                return "Altitude " + metres;
            }
            return "Altitude " +
                   analysis::formatQuantity(analysis::Quantity::Altitude, value, units, 1) + " (" +
                   metres + ")";
        }
    }
    return "Unknown mode " + std::to_string(mode);
}

std::vector<ReportRow> settingsRows(const settings::DeviceSettings& settings,
                                    analysis::UnitSystem units) {
    return {
        {"Line A", lineSettingText(settings.lineAMode, settings.lineAValue, units)},
        {"Line B", lineSettingText(settings.lineBMode, settings.lineBValue, units)},
        {"Inhibit time", tenthsOfSecond(settings.inhibitTime)},
    };
}

std::vector<ReportRow> flightRows(const FlightFields& fields) {
    std::vector<ReportRow> rows;
    const auto add = [&rows](const char* label, const std::string& value) {
        if (!value.empty()) {
            rows.push_back({label, value});
        }
    };
    add("Rocket", fields.rocket);
    add("Motor", fields.motor);
    add("Site", fields.site);
    add("Date", fields.date);
    return rows;
}

}  // namespace tevusb::report
