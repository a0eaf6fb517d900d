// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "analysis/emulation_report.h"
#include "analysis/units.h"

namespace tevusb::analysis {

// "Apogee", "Altitude 150 m", "Time 5 s", "Disabled", "Mode 7 (unknown)".
std::string lineSettingText(const LineReport& line, UnitSystem units);
// "fired as set", "fired 12 m above its 150 m setting", "fired 0.8 s after its 5 s
// setting", "fired 1.4 s after apogee", "did not fire", "not set to fire".
std::string lineVerdictText(const LineReport& line, UnitSystem units);
// How the emulation ended, as one sentence.
std::string emulationEndText(const EmulationReport& report);
// The whole report as plain text (lines end in '\n'), numbers in `units`.
std::string formatEmulationReport(const EmulationReport& report, UnitSystem units);

}  // namespace tevusb::analysis
