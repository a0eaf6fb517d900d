// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "analysis/units.h"
#include "report/report_content.h"
#include "settings/device_settings.h"

namespace tevusb::report {

// Line A, Line B and the inhibit time, as the page's settings table lists them.
std::vector<ReportRow> settingsRows(const settings::DeviceSettings& settings,
                                    analysis::UnitSystem units);

// The library fields that are filled in, labelled.
std::vector<ReportRow> flightRows(const FlightFields& fields);

}  // namespace tevusb::report
