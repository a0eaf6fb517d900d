// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace tevusb::testing {

// Runs a program and returns its standard output (empty when it could not run or failed).
QString runTool(const QString& program, const QStringList& arguments);
// A file's name as the system's tools read it. Under Wine they are Linux programs started
// by Wine and need the file's Linux path, which Wine's own kernel32 export gives; on
// Linux, and on Windows proper (no such export), the name is used as it is.
QString toolPath(const QString& path);
// What poppler's pdftotext reads from a PDF (layout kept); what pdfinfo says about it.
QString pdfText(const QString& path);
QString pdfInfo(const QString& path);
// One page of a PDF as `pngBase`.png, through poppler's pdftoppm.
bool pdfPageToPng(const QString& pdf, int page, int dotsPerInch, const QString& pngBase);

}  // namespace tevusb::testing
