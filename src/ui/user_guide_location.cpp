// SPDX-License-Identifier: MIT
#include "ui/user_guide_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tevusb::ui {

QStringList userGuideCandidates() {
    const QString bin = QCoreApplication::applicationDirPath();
    return {
#ifdef _WIN32
        // The installer puts the guide in a folder beside the programs.
        QDir::cleanPath(bin + QStringLiteral("/doc/user-guide.html")),
#else
        QDir::cleanPath(bin + QStringLiteral("/../share/doc/tevusb/user-guide.html")),
#endif
        QStringLiteral(TEVUSB_BUILD_GUIDE),
    };
}

QString userGuideFile() {
    for (const QString& path : userGuideCandidates()) {
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    return {};
}

QString userGuideAddress() {
    const QString found = userGuideFile();
    return QDir::toNativeSeparators(
        QFileInfo(found.isEmpty() ? userGuideCandidates().front() : found).absolutePath());
}

}  // namespace tevusb::ui
