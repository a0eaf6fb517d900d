// SPDX-License-Identifier: MIT
#include "report/pdf_report.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "report/output_file.h"
#include "report/report_page.h"
#include "text/string_table.h"

namespace tevusb::report {

QByteArray renderPdfPage(QPageLayout::Orientation orientation, const QString& title,
                         const std::function<void(QPainter&)>& paint) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kReportDpi);
        // The page lays out its own margins, the same on paper as in the file.
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0)));
        writer.setCreator(QString::fromUtf8(text::kCaption.data(),
                                            static_cast<qsizetype>(text::kCaption.size())));
        writer.setTitle(title);
        QPainter painter;
        if (!painter.begin(&writer)) {
            return {};
        }
        paint(painter);
        if (!painter.end()) {
            return {};
        }
    }
    return bytes;
}

QByteArray renderPdf(const ReportContent& content) {
    return renderPdfPage(QPageLayout::Portrait,
                         QStringLiteral("Flight report, data set %1").arg(content.set.setIndex + 1),
                         [&content](QPainter& painter) { paintReportPage(painter, content); });
}

std::string writePdfReport(const std::filesystem::path& path, const ReportContent& content) {
    return writeOutputFile(path, renderPdf(content));
}

}  // namespace tevusb::report
