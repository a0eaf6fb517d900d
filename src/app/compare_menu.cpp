// SPDX-License-Identifier: MIT
#include "app/compare_menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include "app/comparison_report_buttons.h"
#include "app/main_menu.h"
#include "app/view_menu.h"
#include "data/data_set_store.h"
#include "graph/flight_graph.h"
#include "ui/compare/compare_flights_window.h"
#include "ui/library/library_flight_picker.h"
#include "ui/library_service.h"
#include "ui/window_placement.h"

namespace tevusb::app {

namespace {

// One picker at a time, over the comparison it adds to.
void pickFromLibrary(ui::CompareFlightsWindow& compare) {
    if (auto* open = compare.findChild<ui::LibraryFlightPicker*>()) {
        open->raise();
        open->activateWindow();
        return;
    }
    QPointer<ui::CompareFlightsWindow> target(&compare);
    auto* picker = new ui::LibraryFlightPicker(
        ui::libraryService(),
        [target](ui::LoadedFlights loaded) {
            if (target) {
                target->addLoaded(std::move(loaded));
            }
        },
        &compare);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    picker->setWindowModality(Qt::WindowModal);
    picker->start();
}

ui::CompareFlightsWindow* openComparison(QMainWindow& window, graph::FlightGraph& graph,
                                         const data::DataSetStore& store) {
    auto* compare = window.findChild<ui::CompareFlightsWindow*>();
    if (compare == nullptr) {
        compare = new ui::CompareFlightsWindow(&window);
        compare->setAttribute(Qt::WA_DeleteOnClose);
        compare->setUnits(graph.units());
        addComparisonReportButtons(*compare, graph);
        compare->setLibraryChooser([compare] { pickFromLibrary(*compare); });
        if (!store.current.adcCounts.empty()) {
            graph::ComparedFlight shown;
            const QString title = graph.viewState().title;
            shown.name =
                title.isEmpty()
                    ? QStringLiteral("Shown flight (set %1)").arg(store.current.setIndex + 1)
                    : title;
            shown.set = store.current;
            shown.statistics = graph.statistics();
            compare->addFlight(std::move(shown));
        }
    }
    ui::showInFront(compare, &window);
    return compare;
}

}  // namespace

void addCompareCommand(QMainWindow& window, graph::FlightGraph& graph,
                       const data::DataSetStore& store) {
    auto* view = window.menuBar()->findChild<QMenu*>(QStringLiteral("View"));
    if (view == nullptr) {
        return;
    }
    view->addSeparator();
    QAction* action = view->addAction(QStringLiteral("Compare Flights..."));
    action->setObjectName(QString::number(view_command::kCompareFlights));
    QObject::connect(action, &QAction::triggered, &window,
                     [&window, &graph, &store] { openComparison(window, graph, store); });
    for (const int id : {view_command::kMetric, view_command::kImperial}) {
        if (QAction* units = menuAction(window, id)) {
            QObject::connect(units, &QAction::triggered, &window, [&window, &graph] {
                if (auto* compare = window.findChild<ui::CompareFlightsWindow*>()) {
                    compare->setUnits(graph.units());
                }
            });
        }
    }
}

}  // namespace tevusb::app
