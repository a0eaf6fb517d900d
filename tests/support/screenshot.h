// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>

class QWidget;

namespace tevusb::testing {

// Pictures for a person to look at go to one folder of the build (build/shots); the
// tests that take them only check that they were written.
QString shotPath(const QString& fileName);

// Saves `image`, or what `widget` shows, as `fileName` (with its extension) in that
// folder; false when it could not be written.
bool saveShot(const QImage& image, const QString& fileName);
bool saveShot(QWidget& widget, const QString& fileName);

}  // namespace tevusb::testing
