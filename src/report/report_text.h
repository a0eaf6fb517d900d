// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "analysis/units.h"
#include "report/report_content.h"
#include "settings/device_settings.h"

namespace tevusb::report {

// How a line is set to fire, in the flyer's units: "Apogee", "Time 2.5 s",
// "Altitude 150 m" or "Altitude 492.1 ft (150 m)", "Disabled".
std::string lineSettingText(std::uint8_t mode, std::uint16_t value, analysis::UnitSystem units);

// Line A, Line B and the inhibit time, as the page's settings table lists them.
std::vector<ReportRow> settingsRows(const settings::DeviceSettings& settings,
                                    analysis::UnitSystem units);

// The library fields that are filled in, labelled.
std::vector<ReportRow> flightRows(const FlightFields& fields);

}  // namespace tevusb::report
