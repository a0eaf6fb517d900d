// SPDX-License-Identifier: MIT
#include "report/report_printer.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include "report/report_page.h"

namespace tevusb::report {

namespace {

template <typename Paint>
bool printPage(QPrinter& printer, QPageLayout::Orientation orientation, Paint paint) {
    // The page keeps margins wider than any printer's unprintable border, so it is laid
    // out on the whole sheet, exactly as in the PDF.
    printer.setFullPage(true);
    printer.setResolution(kReportDpi);
    printer.setPageOrientation(orientation);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    paint(painter);
    return painter.end();
}

}  // namespace

bool printReport(QPrinter& printer, const ReportContent& content) {
    return printPage(printer, QPageLayout::Portrait,
                     [&](QPainter& painter) { paintReportPage(painter, content); });
}

bool printComparison(QPrinter& printer, const ComparisonContent& content) {
    return printPage(printer, QPageLayout::Landscape,
                     [&](QPainter& painter) { paintComparisonPage(painter, content); });
}

}  // namespace tevusb::report
