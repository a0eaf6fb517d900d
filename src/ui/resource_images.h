// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>

namespace tevusb::ui {

// Icon resources: the program, and the connection state shown in device dialogs.
inline constexpr int kIconProgram = 105;
inline constexpr int kIconNotConnected = 109;
inline constexpr int kIconConnected = 110;
// Bitmap resource: the picture of the About box (386 x 109 pixels).
inline constexpr int kBitmapAbout = 111;

inline constexpr int kIconSize = 48;

// An icon resource drawn at `size` pixels square; a null pixmap for an unknown id.
QPixmap iconPixmap(int id, int size = kIconSize);
// A bitmap resource at its own size; a null pixmap for an unknown id.
QPixmap bitmapPixmap(int id);
// The program icon with every size a window manager may ask for.
QIcon programIcon();

}  // namespace tevusb::ui
