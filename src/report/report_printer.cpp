// SPDX-License-Identifier: MIT
#include "report/report_printer.h"

#include <QPainter>
#include <QPrinter>

#include "report/report_page.h"

namespace tevusb::report {

bool printReport(QPrinter& printer, const ReportContent& content) {
    // The page keeps margins wider than any printer's unprintable border, so it is laid
    // out on the whole sheet, exactly as in the PDF.
    printer.setFullPage(true);
    printer.setResolution(kReportDpi);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    paintReportPage(painter, content);
    return painter.end();
}

}  // namespace tevusb::report
