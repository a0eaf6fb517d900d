// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/units.h"
#include "graph/comparison_view.h"

class QPainter;
class QPrinter;

namespace tevusb::report {

// Columns that still fit across the sheet, each flight in a colour of its own.
inline constexpr std::size_t kMaxComparedFlights = 10;

// Several flights compared on one page: lined up as asked, over the whole common span.
struct ComparisonContent {
    std::vector<graph::ComparedFlight> flights;
    analysis::AlignAt alignAt = analysis::AlignAt::Launch;
    bool altitude = true;
    bool velocity = false;
    analysis::UnitSystem units = analysis::UnitSystem::Metric;
    QDateTime generated;  // UTC, for the footer
};

// Draws the comparison page (A4 landscape is what it is laid out for): title, the
// comparison graph with its legend, and the statistics one column per flight with the
// differences to the first, drawn by the comparison view's own code.
void paintComparisonPage(QPainter& painter, const ComparisonContent& content);

// The page as a one-page PDF, A4 landscape; empty if the writer failed.
QByteArray renderComparisonPdf(const ComparisonContent& content);
// Renders and writes it in one piece. Empty on success, else one line why.
std::string writeComparisonPdf(const std::filesystem::path& path, const ComparisonContent& content);

}  // namespace tevusb::report
