// SPDX-License-Identifier: MIT
#include "support/screenshot.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace tevusb::testing {

QString shotPath(const QString& fileName) {
    QDir().mkpath(QStringLiteral(TEVUSB_SHOTS_DIR));
    return QStringLiteral(TEVUSB_SHOTS_DIR "/") + fileName;
}

bool saveShot(const QImage& image, const QString& fileName) {
    return !image.isNull() && image.save(shotPath(fileName));
}

bool saveShot(QWidget& widget, const QString& fileName) {
    return saveShot(widget.grab().toImage(), fileName);
}

}  // namespace tevusb::testing
