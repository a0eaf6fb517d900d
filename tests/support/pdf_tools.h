// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace tevusb::testing {

// Runs a program and returns its standard output (empty when it could not run or failed).
QString runTool(const QString& program, const QStringList& arguments);
// What poppler's pdftotext reads from a PDF (layout kept); what pdfinfo says about it.
QString pdfText(const QString& path);
QString pdfInfo(const QString& path);

}  // namespace tevusb::testing
