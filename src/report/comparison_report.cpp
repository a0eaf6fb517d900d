// SPDX-License-Identifier: MIT
#include "report/comparison_report.h"

#include <QPainter>
#include <algorithm>

#include "analysis/comparison_table.h"
#include "analysis/flight_alignment.h"
#include "report/output_file.h"
#include "report/page_layout.h"
#include "report/pdf_report.h"
#include "report/report_page.h"

namespace tevusb::report {

namespace {

constexpr double kGraphShare =
    0.42;  // of the room between header and footer; the table gets the rest
constexpr double kLabelColumnMm = 42.0;

struct Table {
    QFont label = pageFont(8, true);
    QFont value = pageFont(8);
    QFont difference = pageFont(7);
};

// One column per flight under its name in its colour: the value, and beneath it the
// difference to the first flight.
void drawComparisonTable(PageLayout& page, double top, double bottom,
                         const std::vector<graph::ComparedFlight>& flights,
                         const std::vector<analysis::ComparisonRow>& rows) {
    const Table fonts;
    const double left = page.left();
    const double labelWidth = page.mm(kLabelColumnMm);
    const double columnWidth = (page.right() - left - labelWidth) /
                               static_cast<double>(std::max<std::size_t>(1, flights.size()));
    const double pad = page.mm(1);
    const auto columnX = [&](std::size_t i) { return left + labelWidth + columnWidth * i; };

    double y = top;
    double nameHeight = 0;
    for (const graph::ComparedFlight& f : flights) {
        nameHeight =
            std::max(nameHeight, page.wrappedHeight(fonts.label, f.name, columnWidth - pad));
    }
    for (std::size_t i = 0; i < flights.size(); ++i) {
        page.text(QRectF(columnX(i), y, columnWidth - pad, nameHeight), flights[i].name,
                  fonts.label, graph::comparisonColour(i),
                  Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    }
    y += nameHeight + page.mm(1);
    page.rule(y);
    y += page.mm(1);

    const int wrap = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    const double line = page.lineHeight(fonts.value);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const analysis::ComparisonRow& row = rows[r];
        double height = page.wrappedHeight(fonts.label, toQString(row.label), labelWidth - pad);
        for (std::size_t i = 0; i < flights.size(); ++i) {
            double cell =
                i < row.values.size()
                    ? page.wrappedHeight(fonts.value, toQString(row.values[i]), columnWidth - pad)
                    : line;
            if (i < row.differences.size() && !row.differences[i].empty()) {
                cell += page.lineHeight(fonts.difference);
            }
            height = std::max(height, cell);
        }
        height += line * 0.2;
        if (y + height > bottom) {
            page.text(QRectF(left, y, page.right() - left, line),
                      QStringLiteral("(%1 more rows left out)").arg(rows.size() - r), fonts.value,
                      kPageMutedText);
            return;
        }
        page.text(QRectF(left, y, labelWidth - pad, height), toQString(row.label), fonts.label,
                  kPageText, wrap);
        for (std::size_t i = 0; i < flights.size() && i < row.values.size(); ++i) {
            const QString value = toQString(row.values[i]);
            const QRectF cell(columnX(i), y, columnWidth - pad, height);
            page.text(cell, value, fonts.value, kPageText, wrap);
            if (i < row.differences.size() && !row.differences[i].empty()) {
                const double below = page.wrappedHeight(fonts.value, value, columnWidth - pad);
                page.text(cell.adjusted(0, below, 0, 0), toQString(row.differences[i]),
                          fonts.difference, kPageMutedText, wrap);
            }
        }
        y += height;
    }
}

QString subtitle(const ComparisonContent& content) {
    return QStringLiteral("%1 flights  \u00b7  lined up at %2  \u00b7  %3 units")
        .arg(content.flights.size())
        .arg(content.alignAt == analysis::AlignAt::Apogee ? QStringLiteral("apogee")
                                                          : QStringLiteral("launch"))
        .arg(toQString(analysis::unitSystemName(content.units)));
}

}  // namespace

void paintComparisonPage(QPainter& painter, const ComparisonContent& content) {
    PageLayout page(painter);
    const double top = page.header(QStringLiteral("Flights compared"), subtitle(content));
    const double bottom = page.footerTop() - page.mm(kPageGapMm);

    std::vector<analysis::FlightStatistics> statistics;
    for (const graph::ComparedFlight& f : content.flights) {
        statistics.push_back(f.statistics);
    }
    const analysis::FlightAlignment alignment = analysis::alignFlights(statistics, content.alignAt);
    graph::ComparisonState state;
    state.alignAt = content.alignAt;
    state.altitude = content.altitude;
    state.velocity = content.velocity;
    state.window.setFlight(alignment.endS - alignment.startS);

    const QRect graphBox =
        QRectF(page.left(), top, page.right() - page.left(), (bottom - top) * kGraphShare)
            .toAlignedRect();
    painter.save();
    painter.setClipRect(graphBox);
    graph::drawComparison(painter, graphBox, content.flights, alignment, state, content.units);
    painter.restore();
    page.frame(graphBox);

    drawComparisonTable(page, graphBox.bottom() + page.mm(kPageGapMm), bottom, content.flights,
                        analysis::comparisonRows(statistics, content.units));
    page.footer(QStringLiteral("%1 flights compared").arg(content.flights.size()),
                content.generated);
}

QByteArray renderComparisonPdf(const ComparisonContent& content) {
    return renderPdfPage(QPageLayout::Landscape, QStringLiteral("Flights compared"),
                         [&content](QPainter& painter) { paintComparisonPage(painter, content); });
}

std::string writeComparisonPdf(const std::filesystem::path& path,
                               const ComparisonContent& content) {
    return writeOutputFile(path, renderComparisonPdf(content));
}

}  // namespace tevusb::report
