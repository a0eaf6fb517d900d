// SPDX-License-Identifier: MIT
#include "app/view_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace tevusb::app {

namespace {
QAction* addItem(QMenu* menu, const char* text, int id, bool checkable) {
    QAction* action = menu->addAction(QString::fromLatin1(text));
    action->setObjectName(QString::number(id));
    action->setCheckable(checkable);
    return action;
}
}  // namespace

QMenu* buildViewMenu(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    auto* menu = new QMenu(QStringLiteral("View"), bar);
    menu->setObjectName("View");
    addItem(menu, "Flight Statistics", view_command::kFlightStatistics, false);
    addItem(menu, "Analysis View", view_command::kAnalysisView, true);
    QMenu* units = menu->addMenu(QStringLiteral("Units"));
    units->setObjectName("Units");
    auto* group = new QActionGroup(units);
    group->setExclusive(true);
    group->addAction(addItem(units, "Metric", view_command::kMetric, true));
    group->addAction(addItem(units, "Imperial", view_command::kImperial, true));

    // Before Help, so a menu added later (the simulator's) keeps its place at the end.
    QAction* help = nullptr;
    for (QAction* top : bar->actions()) {
        if (top->menu() != nullptr && top->menu()->objectName() == QStringLiteral("Help")) {
            help = top;
        }
    }
    if (help != nullptr) {
        bar->insertMenu(help, menu);
    } else {
        bar->addMenu(menu);
    }
    return menu;
}

}  // namespace tevusb::app
