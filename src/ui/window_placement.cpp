// SPDX-License-Identifier: MIT
#include "ui/window_placement.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
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

// A window opened while a modal dialog runs (the bench-test report from Control Options)
// would be blocked until the dialog closes, and could sit behind it. Made transient for
// the dialog it can be read and used at once, in front of it; when the dialog ends it
// goes back to the anchor's window, so that it neither points at a window that is gone
// nor goes with it.
void lendToModalDialog(QWidget* window, QWidget* anchor) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == window || modal->isAncestorOf(window) || window->isModal()) {
        return;
    }
    window->winId();
    modal->winId();
    QWindow* handle = window->windowHandle();
    QWindow* dialog = modal->windowHandle();
    if (handle == nullptr || dialog == nullptr || handle->transientParent() == dialog) {
        return;
    }
    handle->setTransientParent(dialog);
    const QPointer<QWidget> owner = anchor != nullptr ? anchor->window() : nullptr;
    const auto giveBack = [window, owner] {
        QWindow* back = owner ? owner->windowHandle() : nullptr;
        if (QWindow* own = window->windowHandle(); own != nullptr && own != back) {
            own->setTransientParent(back);
        }
    };
    if (auto* box = qobject_cast<QDialog*>(modal)) {
        QObject::connect(box, &QDialog::finished, window, giveBack);
    }
    QObject::connect(dialog, &QObject::destroyed, window, giveBack);
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
    lendToModalDialog(window, anchor);
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
