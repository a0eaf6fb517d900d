// SPDX-License-Identifier: MIT
#include "ui/window_placement.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tevusb::ui {

namespace {

// Title bar and borders the window manager adds around the client area.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 40;

QScreen* screenOf(QWidget* window, QWidget* anchor) {
    if (anchor && anchor->screen()) {
        return anchor->screen();
    }
    if (window->screen()) {
        return window->screen();
    }
    return QGuiApplication::primaryScreen();
}

}  // namespace

QRect fittedGeometry(QSize wanted, const QRect& available) {
    const int width = std::max(1, std::min(wanted.width(), available.width() - kFrameWidth));
    const int height = std::max(1, std::min(wanted.height(), available.height() - kFrameHeight));
    QRect placed(0, 0, width, height);
    placed.moveCenter(available.center());
    // Keep the title bar on the screen when the frame is taller than the room left.
    placed.moveTop(std::max(placed.top(), available.top() + kFrameHeight / 2));
    return placed;
}

void showInFront(QWidget* window, QWidget* anchor) {
    if (!window->isVisible()) {
        if (QScreen* screen = screenOf(window, anchor)) {
            const QSize wanted = window->size();
            const QRect available = screen->availableGeometry();
            const QRect placed = fittedGeometry(wanted, available);
            window->setMinimumSize(window->minimumSize().boundedTo(placed.size()));
            window->setGeometry(placed);
        }
        window->show();
    } else if (window->isMinimized()) {
        window->showNormal();
    }
    window->raise();
    window->activateWindow();
}

}  // namespace tevusb::ui
