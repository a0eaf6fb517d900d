// SPDX-License-Identifier: MIT
#pragma once

class QMainWindow;
class QMenu;

namespace tevusb::app {

// Command ids of the View menu; each action carries its id as object name.
namespace view_command {
inline constexpr int kFlightStatistics = 41001;
inline constexpr int kAnalysisView = 41002;
inline constexpr int kMetric = 41003;
inline constexpr int kImperial = 41004;
}  // namespace view_command

// Adds the "View" menu (Flight Statistics, Analysis View, Units > Metric | Imperial)
// between Tools and Help. Analysis View and the units are checkable, the units
// exclusive; nothing is checked or connected yet.
QMenu* buildViewMenu(QMainWindow& window);

}  // namespace tevusb::app
