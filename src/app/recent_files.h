// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace tevusb::app {

// The data-set files shown last (opened by hand or from the library), newest first, kept
// in the program's QSettings so that File > Open Recent survives a restart.
class RecentFiles {
  public:
    static constexpr int kMaxEntries = 10;

    QStringList paths() const;
    // Puts `path` first; an older entry of the same file goes, the oldest beyond the limit too.
    void add(const QString& path);
    void remove(const QString& path);
};

}  // namespace tevusb::app
