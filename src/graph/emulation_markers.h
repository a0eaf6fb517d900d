// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "analysis/emulation_report.h"
#include "graph/analysis_view_state.h"

namespace tevusb::graph {

// The events of a bench test as extra markers of the analysis view ("Emu launch",
// "Emu A", ...), so they read apart from the recording's own markers; events of one
// sample share a marker ("Emu apogee + A"). Events with no place on the flight give none.
std::vector<ExtraMarker> emulationMarkers(const analysis::EmulationReport& report);

}  // namespace tevusb::graph
