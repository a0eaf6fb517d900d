// SPDX-License-Identifier: MIT
#include "app/keyboard_access.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include "app/library_menu.h"
#include "app/main_menu.h"
#include "app/report_menu.h"
#include "app/user_guide.h"

namespace tevusb::app {

void addKeyboardAccess(QMainWindow& window) {
    const std::pair<int, QKeySequence> keys[] = {
        {command::kOpen, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {command::kPrint, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {command::kExit, QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {command::kFlightLibrary, QKeySequence(Qt::CTRL | Qt::Key_L)},
        {command::kUserGuide, QKeySequence(Qt::Key_F1)},
    };
    for (const auto& [id, key] : keys) {
        if (QAction* action = menuAction(window, id)) {
            action->setShortcut(key);
            action->setShortcutContext(Qt::WindowShortcut);
        }
    }
    QMenuBar* bar = window.menuBar();
    for (QAction* top : bar->actions()) {
        QMenu* menu = top->menu();
        if (menu == nullptr || menu->title().isEmpty()) {
            continue;
        }
        const QChar letter = menu->title().at(0).toUpper();
        auto* open = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(letter.unicode())), &window);
        open->setObjectName(QStringLiteral("menuKey") + menu->objectName());
        QObject::connect(open, &QShortcut::activated, bar, [bar, top] {
            bar->setFocus(Qt::ShortcutFocusReason);
            bar->setActiveAction(top);
        });
    }
}

}  // namespace tevusb::app
