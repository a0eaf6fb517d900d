// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QString>
#include <filesystem>
#include <functional>
#include <string>

#include "report/report_content.h"

class QPainter;

namespace tevusb::report {

// One A4 page drawn by `paint` at the report resolution, as a PDF document titled `title`
// and made by this program; empty if the writer failed.
QByteArray renderPdfPage(QPageLayout::Orientation orientation, const QString& title,
                         const std::function<void(QPainter&)>& paint);

// The report as a one-page A4 portrait PDF document; empty if the writer failed.
QByteArray renderPdf(const ReportContent& content);

// Renders and writes the PDF in one piece. Empty on success, else one line why.
std::string writePdfReport(const std::filesystem::path& path, const ReportContent& content);

}  // namespace tevusb::report
