// SPDX-License-Identifier: MIT
#pragma once

#include "report/comparison_report.h"
#include "report/report_content.h"

class QPrinter;

namespace tevusb::report {

// Prints the report page on `printer` as set up by the user (or a test's file printer):
// the whole sheet, at the report's resolution. False when the printer could not start.
bool printReport(QPrinter& printer, const ReportContent& content);
// The same for a comparison of flights, on a landscape sheet.
bool printComparison(QPrinter& printer, const ComparisonContent& content);

}  // namespace tevusb::report
