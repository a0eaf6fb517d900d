// SPDX-License-Identifier: MIT
#include "support/pdf_tools.h"

#include <QProcess>

namespace tevusb::testing {

QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const QString& path) {
    return runTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), path, QStringLiteral("-")});
}

QString pdfInfo(const QString& path) {
    return runTool(QStringLiteral("pdfinfo"), {path});
}

}  // namespace tevusb::testing
