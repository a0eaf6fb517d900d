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
// "PASS", "CHECK" or "FAIL": the word every front leads a line's result with.
std::string verdictWord(Verdict verdict);
// Why a line that did not pass came out so, in a sentence ("" for a pass): how far it
// fired from its setting and what can cause that, or what it must not have done.
std::string verdictReasonText(const LineReport& line, const EmulationReport& report,
                              UnitSystem units);
// "PASS  Line A: Apogee: fired as set": the line's verdict, setting and finding.
std::string lineHeadline(const LineReport& line, UnitSystem units);
// How the emulation ended, as one sentence.
std::string emulationEndText(const EmulationReport& report);
// The whole report as plain text (lines end in '\n'), numbers in `units`.
std::string formatEmulationReport(const EmulationReport& report, UnitSystem units);

}  // namespace tevusb::analysis
