// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;

namespace tevusb::app {

// Command ids of menu 102; each action carries its id as object name ("40004").
namespace command {
inline constexpr int kOpen = 40004;
inline constexpr int kExportCsv = 40009;
inline constexpr int kExportXml = 40016;
inline constexpr int kExit = 40002;
inline constexpr int kDownload = 40006;
inline constexpr int kDeviceSettings = 40007;
inline constexpr int kControlDevice = 40014;
inline constexpr int kUpdateFirmware = 40011;
inline constexpr int kAbout = 40010;
}  // namespace command

// One entry of the menu as the program shows it: id 0 is a separator.
struct MenuEntry {
    QString menu;
    QString text;
    int id = 0;
};

// Menu 102, in order.
const std::vector<MenuEntry>& mainMenuEntries();

// Builds menu 102 on `window`'s menu bar. The actions have no connections yet.
void buildMainMenu(QMainWindow& window);

// The action of command `id` on `window`, or null.
QAction* menuAction(const QMainWindow& window, int id);

}  // namespace tevusb::app
