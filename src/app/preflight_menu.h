// SPDX-License-Identifier: MIT
#pragma once

class QMainWindow;

namespace tevusb::graph {
class FlightGraph;
}

namespace tevusb::app {

namespace command {
inline constexpr int kRocketProfiles = 41060;
inline constexpr int kPreflightCheck = 41061;
}  // namespace command

// Tools > "Rocket Profiles..." and Tools > "Pre-flight Check...", after the designed
// entries. Each opens (or raises) its window in the graph's units; the check's "Download
// Flights" runs Tools > "Download Data...".
void addPreflightCommands(QMainWindow& window, graph::FlightGraph& graph);

}  // namespace tevusb::app
