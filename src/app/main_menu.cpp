// SPDX-License-Identifier: MIT
#include "app/main_menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace tevusb::app {

const std::vector<MenuEntry>& mainMenuEntries() {
    static const std::vector<MenuEntry> entries = {
        {"File", "Open...", command::kOpen},
        {"File", "", 0},
        {"File", "Export CSV...", command::kExportCsv},
        {"File", "Export XML...", command::kExportXml},
        {"File", "", 0},
        {"File", "Exit", command::kExit},
        {"Tools", "Download Data...", command::kDownload},
        {"Tools", "Device Settings...", command::kDeviceSettings},
        {"Tools", "Control Device...", command::kControlDevice},
        {"Tools", "", 0},
        {"Tools", "Update Firmware...", command::kUpdateFirmware},
        {"Help", "About...", command::kAbout},
    };
    return entries;
}

void buildMainMenu(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    bar->setObjectName("102");
    QMenu* menu = nullptr;
    for (const MenuEntry& entry : mainMenuEntries()) {
        if (menu == nullptr || menu->title() != entry.menu) {
            menu = bar->addMenu(entry.menu);
            menu->setObjectName(entry.menu);
        }
        if (entry.id == 0) {
            menu->addSeparator();
            continue;
        }
        // Texts are shown as written: no '&' in them, so no accelerator is made up.
        QAction* action = menu->addAction(entry.text);
        action->setObjectName(QString::number(entry.id));
    }
}

QAction* menuAction(const QMainWindow& window, int id) {
    return window.findChild<QAction*>(QString::number(id));
}

}  // namespace tevusb::app
