// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "analysis/emulation_report.h"

namespace tevusb::analysis {

// The report as a JSON object, SI units (s, m, m/s), null where a value does not exist:
// `verdict` of the whole test, `events` in the order received, `lines` {a, b} each with
// its `verdict` (pass, check, fail) and `finding`, `apogee_delay_s`, and how it ended.
std::string emulationReportJson(const EmulationReport& report, int indent = 2);

}  // namespace tevusb::analysis
