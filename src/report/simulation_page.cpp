// SPDX-License-Identifier: MIT
#include "report/simulation_page.h"

#include <QPainter>
#include <array>

#include "report/page_layout.h"

namespace tevusb::report {

namespace {

constexpr double kGraphHeightMm = 120.0;
// Of the page's width: the quantity, then flight, simulation and difference.
constexpr std::array<double, 4> kColumns = {0.31, 0.2, 0.2, 0.29};

double drawComparisonTable(PageLayout& page, double y, const SimulationSection& section) {
    const QFont headFont = pageFont(9.5, true);
    const QFont bodyFont = pageFont(9.5);
    const double lineHeight = page.lineHeight(bodyFont) * 1.15;
    const double width = page.right() - page.left();
    const auto row = [&](const std::array<QString, 4>& cells, bool head) {
        double x = page.left();
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const double w = width * kColumns[c];
            const int align = (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignTop;
            page.text(QRectF(x, y, w - page.mm(2), lineHeight), cells[c],
                      head || c == 0 ? headFont : bodyFont, head ? kPageMutedText : kPageText,
                      align);
            x += w;
        }
        y += lineHeight;
    };
    row({QString(), QStringLiteral("Flight"), QStringLiteral("Simulation"),
         QStringLiteral("Difference")},
        true);
    page.rule(y);
    y += page.mm(1);
    for (const simulation::ComparisonRow& r : section.rows) {
        row({toQString(r.label), toQString(r.flown), toQString(r.simulated),
             toQString(r.difference)},
            false);
    }
    return y;
}

}  // namespace

void paintSimulationPage(QPainter& painter, const ReportContent& content, int page, int pages) {
    const SimulationSection& section = *content.simulation;
    PageLayout layout(painter);
    const double left = layout.left();
    const double width = layout.right() - left;
    double y =
        layout.header(QStringLiteral("Flight against simulation"),
                      toQString(section.heading) +
                          QStringLiteral("  \u00b7  Data set %1").arg(content.set.setIndex + 1));

    // Whatever view page one has, this page shows both curves in the analysis view.
    GraphOptions options = content.graph;
    options.view = GraphView::Analysis;
    const QRect graphBox = QRectF(left, y, width, layout.mm(kGraphHeightMm)).toAlignedRect();
    drawGraph(painter, graphBox, content.set, options);
    layout.frame(graphBox);
    y = graphBox.bottom() + layout.mm(kPageGapMm);

    const QFont verdictFont = pageFont(11, true);
    const QString verdict = toQString(section.verdict);
    const double verdictHeight = layout.wrappedHeight(verdictFont, verdict, width);
    layout.text(QRectF(left, y, width, verdictHeight), verdict, verdictFont, kPageText,
                Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    y += verdictHeight + layout.mm(kPageGapMm);

    y = drawComparisonTable(layout, y, section) + layout.mm(kPageGapMm);

    const QFont labelFont = pageFont(9.5, true);
    const QFont valueFont = pageFont(9.5);
    const double labelWidth = width * kColumns[0];
    const QString drag = toQString(section.drag.value);
    const double dragHeight = layout.wrappedHeight(valueFont, drag, width - labelWidth);
    layout.text(QRectF(left, y, labelWidth, dragHeight), toQString(section.drag.label), labelFont,
                kPageText);
    layout.text(QRectF(left + labelWidth, y, width - labelWidth, dragHeight), drag, valueFont,
                kPageText, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);

    layout.footer(QStringLiteral("Data set %1").arg(content.set.setIndex + 1), content.generated,
                  page, pages);
}

}  // namespace tevusb::report
