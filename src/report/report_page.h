// SPDX-License-Identifier: MIT
#pragma once

#include "report/report_content.h"

class QPainter;

namespace tevusb::report {

// Dots per inch the report asks of its page devices: the window's own, so the graph's
// pixel widths and point-sized labels keep the proportions they have on screen.
inline constexpr int kReportDpi = 96;

// Draws the one-page report onto the painter's device, whose page (the whole sheet, A4
// portrait or whatever the device has) spans (0, 0) to (width, height) in device units.
// The layout is worked out in millimetres from the device's resolution.
void paintReportPage(QPainter& painter, const ReportContent& content);

}  // namespace tevusb::report
