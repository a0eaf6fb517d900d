// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "report/report_content.h"

namespace tevusb::report {

// What a report needs besides the flight itself.
struct ReportRequest {
    GraphOptions graph;
    std::string source;  // file name for the header, may be empty
    std::string name;    // the flight's name ("Nova / H128, 2026-12-06, set 2"), may be empty
    std::optional<FlightFields> flight;
};

// The page's contents for a decoded set with the settings and comment it was saved with:
// the statistics come from the analysis core, in the units asked for; stamped now (UTC).
ReportContent buildReportContent(const data::DataSet& set, const settings::DeviceSettings& settings,
                                 const std::string& comment, const ReportRequest& request);

}  // namespace tevusb::report
