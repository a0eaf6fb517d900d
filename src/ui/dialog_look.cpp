// SPDX-License-Identifier: MIT
#include "ui/dialog_look.h"

#include <QPalette>
#include <QWidget>

namespace tevusb::ui {

void applyDialogLook(QWidget* dialog) {
    QPalette pal = dialog->palette();
    pal.setColor(QPalette::Window, kBackgroundColour);
    dialog->setPalette(pal);
    dialog->setAutoFillBackground(true);
}

}  // namespace tevusb::ui
