// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

namespace tevusb::ui {

// A dialog's owner-drawn group box and its caption (at most 254 characters).
struct GroupBoxRecord {
    QPointer<QWidget> window;
    QString caption;
};

}  // namespace tevusb::ui
