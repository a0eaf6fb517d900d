// SPDX-License-Identifier: MIT
#include "report/report_text.h"

#include "analysis/line_setting_text.h"

namespace tevusb::report {

std::vector<ReportRow> settingsRows(const settings::DeviceSettings& settings,
                                    analysis::UnitSystem units) {
    return {
        {"Line A", analysis::lineSettingText(settings.lineAMode, settings.lineAValue, units)},
        {"Line B", analysis::lineSettingText(settings.lineBMode, settings.lineBValue, units)},
        {"Inhibit time", analysis::tenthsText(settings.inhibitTime)},
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
