// SPDX-License-Identifier: MIT
#include "app/simulator_menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "device/sim/sim_backend.h"

namespace tevusb::app {

void buildSimulatorMenu(QMainWindow& window, std::shared_ptr<device::sim::SimBackend> backend) {
    QMenu* menu = window.menuBar()->addMenu("Simulator");
    menu->setObjectName(kSimulatorMenu);
    const auto add = [&](const char* name, const QString& text, auto change) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        QObject::connect(action, &QAction::triggered, menu,
                         [backend, change] { change(backend->altimeter()); });
        return action;
    };
    using device::sim::SimAltimeter;
    QAction* unplug = add(kSimUnplug, "Unplug altimeter", [](SimAltimeter& a) { a.detach(); });
    QAction* plugIn = add(kSimPlugIn, "Plug in altimeter", [](SimAltimeter& a) { a.attach(); });
    menu->addSeparator();
    QAction* bootloader = add(kSimBootloader, "Restart in bootloader mode",
                              [](SimAltimeter& a) { a.switchToBootloader(); });
    QAction* application = add(kSimApplication, "Restart in application mode",
                               [](SimAltimeter& a) { a.switchToApplication(); });

    QObject::connect(menu, &QMenu::aboutToShow, menu, [=] {
        SimAltimeter& altimeter = backend->altimeter();
        const bool attached = altimeter.isAttached();
        const bool inBootloader = altimeter.inBootloader();
        unplug->setEnabled(attached);
        plugIn->setEnabled(!attached);
        bootloader->setEnabled(!attached || !inBootloader);
        application->setEnabled(!attached || inBootloader);
    });
}

}  // namespace tevusb::app
