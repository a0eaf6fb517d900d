// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <filesystem>
#include <string>

#include "report/report_content.h"

namespace tevusb::report {

// The report as a one-page A4 portrait PDF document; empty if the writer failed.
QByteArray renderPdf(const ReportContent& content);

// Renders and writes the PDF in one piece. Empty on success, else one line why.
std::string writePdfReport(const std::filesystem::path& path, const ReportContent& content);

}  // namespace tevusb::report
