// SPDX-License-Identifier: MIT
#include "app/preflight_menu.h"

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/library_menu.h"
#include "app/main_menu.h"
#include "app/view_menu.h"
#include "graph/flight_graph.h"
#include "ui/dialogs/preflight_window.h"
#include "ui/dialogs/profiles_window.h"
#include "ui/library/library_window.h"
#include "ui/library_service.h"

namespace tevusb::app {

namespace {

template <class Window>
Window* windowOf(QMainWindow& main, graph::FlightGraph& graph) {
    auto* window = main.findChild<Window*>();
    if (window == nullptr) {
        window = new Window(ui::libraryService(), graph.units(), &main);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    return window;
}

}  // namespace

void addPreflightCommands(QMainWindow& window, graph::FlightGraph& graph) {
    auto* tools = window.menuBar()->findChild<QMenu*>(QStringLiteral("Tools"));
    if (tools == nullptr) {
        return;
    }
    tools->addSeparator();
    QAction* profiles = tools->addAction(QStringLiteral("Rocket Profiles..."));
    profiles->setObjectName(QString::number(command::kRocketProfiles));
    QObject::connect(profiles, &QAction::triggered, &window, [&window, &graph] {
        auto* profileWindow = windowOf<ui::ProfilesWindow>(window, graph);
        profileWindow->setFlightsOpener([&window](const QString& rocket) {
            if (auto* library = window.findChild<LibraryMenu*>()) {
                library->openLibraryWindow().filterEdit()->setText(rocket);
            }
        });
        profileWindow->start();
    });
    for (const int id : {view_command::kMetric, view_command::kImperial}) {
        if (QAction* units = menuAction(window, id)) {
            QObject::connect(units, &QAction::triggered, &window, [&window, &graph] {
                if (auto* open = window.findChild<ui::ProfilesWindow*>()) {
                    open->setUnits(graph.units());
                }
            });
        }
    }
    QAction* check = tools->addAction(QStringLiteral("Pre-flight Check..."));
    check->setObjectName(QString::number(command::kPreflightCheck));
    QObject::connect(check, &QAction::triggered, &window, [&window, &graph] {
        auto* preflight = windowOf<ui::PreflightWindow>(window, graph);
        preflight->setDownloadOpener([&window] {
            if (QAction* download = menuAction(window, command::kDownload)) {
                download->trigger();
            }
        });
        preflight->start();
    });
}

}  // namespace tevusb::app
