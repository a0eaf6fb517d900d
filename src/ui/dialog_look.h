// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>

class QWidget;

namespace tevusb::ui {

// The light-blue dialog background, the white status box and the group-box colours.
inline const QColor kBackgroundColour{196, 223, 255};
inline const QColor kStatusColour{255, 255, 255};
inline const QColor kGroupCaptionColour{0xA0, 0x52, 0x2D};
inline const QColor kGroupFrameColour{0xD2, 0xB4, 0x8C};

// Gives a dialog its background; static texts and check boxes stay transparent on it.
void applyDialogLook(QWidget* dialog);

}  // namespace tevusb::ui
