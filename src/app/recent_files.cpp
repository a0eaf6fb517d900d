// SPDX-License-Identifier: MIT
#include "app/recent_files.h"

#include <QFileInfo>
#include <QSettings>

namespace tevusb::app {

namespace {
const QString kKey = QStringLiteral("recent/files");

void store(const QStringList& list) {
    QSettings().setValue(kKey, list);
}
}  // namespace

QStringList RecentFiles::paths() const {
    QStringList list = QSettings().value(kKey).toStringList();
    list.removeAll(QString());
    return list.mid(0, kMaxEntries);
}

void RecentFiles::add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list.mid(0, kMaxEntries));
}

void RecentFiles::remove(const QString& path) {
    QStringList list = paths();
    list.removeAll(QFileInfo(path).absoluteFilePath());
    store(list);
}

}  // namespace tevusb::app
