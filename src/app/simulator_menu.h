// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

class QMainWindow;

namespace tevusb::device::sim {
class SimBackend;
}

namespace tevusb::app {

// Object names of the Simulator menu and its actions.
inline constexpr const char* kSimulatorMenu = "simulator";
inline constexpr const char* kSimUnplug = "simulator.unplug";
inline constexpr const char* kSimPlugIn = "simulator.plugIn";
inline constexpr const char* kSimBootloader = "simulator.bootloader";
inline constexpr const char* kSimApplication = "simulator.application";

// Adds the "Simulator" menu, which plugs, unplugs and restarts the simulated altimeter
// while the program runs, so that a demo shows how device changes are handled. Items that
// would change nothing are disabled each time the menu opens.
void buildSimulatorMenu(QMainWindow& window, std::shared_ptr<device::sim::SimBackend> backend);

}  // namespace tevusb::app
