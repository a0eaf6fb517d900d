// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace tevusb::ui {

// Where a window of `wanted` size goes on a screen whose free area is `available`:
// shrunk to fit (keeping room for the frame) and centred on it.
QRect fittedGeometry(QSize wanted, const QRect& available);

// Shows `window` in front of everything, on the screen `anchor` is on (the main
// window's), sized to fit that screen's free area. A window already shown is only
// raised and activated, so it keeps the place the flyer gave it. Opened while a modal
// dialog runs, it stays usable and in front of that dialog until the dialog ends.
void showInFront(QWidget* window, QWidget* anchor);

}  // namespace tevusb::ui
