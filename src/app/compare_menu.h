// SPDX-License-Identifier: MIT
#pragma once

class QMainWindow;

namespace tevusb::data {
class DataSetStore;
}
namespace tevusb::graph {
class FlightGraph;
}

namespace tevusb::app {

namespace view_command {
inline constexpr int kCompareFlights = 41010;
}  // namespace view_command

// Adds "Compare Flights..." to the View menu. It opens (or raises) the comparison window,
// starting with the flight the window shows; the window follows the chosen units.
void addCompareCommand(QMainWindow& window, graph::FlightGraph& graph,
                       const data::DataSetStore& store);

}  // namespace tevusb::app
