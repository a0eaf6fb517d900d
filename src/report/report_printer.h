// SPDX-License-Identifier: MIT
#pragma once

#include "report/report_content.h"

class QPrinter;

namespace tevusb::report {

// Prints the report page on `printer` as set up by the user (or a test's file printer):
// the whole sheet, at the report's resolution. False when the printer could not start.
bool printReport(QPrinter& printer, const ReportContent& content);

}  // namespace tevusb::report
