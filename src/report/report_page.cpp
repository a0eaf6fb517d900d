// SPDX-License-Identifier: MIT
#include "report/report_page.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

#include "report/page_layout.h"
#include "report/report_text.h"
#include "report/simulation_page.h"

namespace tevusb::report {

namespace {

constexpr double kGraphHeightMm = 132.0;

// A heading and label/value rows; returns the y below the last row drawn. Rows that do
// not fit above `bottom` are left out, with a last line saying how many.
double drawTable(PageLayout& page, double x, double y, double width, double bottom,
                 const QString& heading, const std::vector<ReportRow>& rows) {
    const QFont headingFont = pageFont(11, true);
    const QFont labelFont = pageFont(9.5, true);
    const QFont valueFont = pageFont(9.5);
    const double headingHeight = page.lineHeight(headingFont);
    page.text(QRectF(x, y, width, headingHeight), heading, headingFont, kPageText);
    y += headingHeight + page.mm(1);

    double labelWidth = 0;
    for (const ReportRow& row : rows) {
        labelWidth = std::max(labelWidth, page.textWidth(labelFont, toQString(row.label)));
    }
    labelWidth = std::min(labelWidth + page.mm(3), width * 0.5);
    const double lineHeight = page.lineHeight(valueFont);
    const double valueWidth = width - labelWidth;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        // A long value wraps under itself rather than losing its end.
        const QString value = toQString(rows[i].value);
        const double rowHeight =
            std::max(lineHeight, page.wrappedHeight(valueFont, value, valueWidth)) +
            lineHeight * 0.15;
        if (y + rowHeight > bottom) {
            page.text(QRectF(x, y, width, lineHeight),
                      QStringLiteral("(%1 more rows left out)").arg(rows.size() - i), valueFont,
                      kPageMutedText);
            return y + lineHeight;
        }
        page.text(QRectF(x, y, labelWidth, rowHeight), toQString(rows[i].label), labelFont,
                  kPageText);
        page.text(QRectF(x + labelWidth, y, valueWidth, rowHeight), value, valueFont, kPageText,
                  Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
        y += rowHeight;
    }
    return y;
}

QString headerLine(const ReportContent& content) {
    QString line = QStringLiteral("Data set %1").arg(content.set.setIndex + 1);
    if (!content.name.empty()) {
        line = toQString(content.name);
    } else if (!content.source.empty()) {
        line += QStringLiteral("  \u00b7  ") + toQString(content.source);
    }
    line += QStringLiteral("  \u00b7  %1 readings").arg(content.set.size());
    line += QStringLiteral("  \u00b7  ") +
            toQString(analysis::unitSystemName(content.graph.units)) + QStringLiteral(" units");
    return line;
}

// The comment, wrapped, in whatever room is left; what does not fit ends in an ellipsis.
void drawComment(PageLayout& page, const QRectF& box, const std::string& comment) {
    const QFont headingFont = pageFont(11, true);
    const QFont bodyFont = pageFont(9.5);
    const double headingHeight = page.lineHeight(headingFont);
    page.text(QRectF(box.left(), box.top(), box.width(), headingHeight), QStringLiteral("Comment"),
              headingFont, kPageText);
    const QRectF body(box.left(), box.top() + headingHeight + page.mm(1), box.width(),
                      box.height() - headingHeight - page.mm(1));
    if (body.height() <= 0) {
        return;
    }
    QString text = comment.empty() ? QStringLiteral("(none)") : toQString(comment);
    if (page.wrappedHeight(bodyFont, text, body.width()) > body.height()) {
        // Shorten word by word until the text and its ellipsis fit.
        const QString ellipsis = QStringLiteral(" \u2026");
        while (!text.isEmpty() &&
               page.wrappedHeight(bodyFont, text + ellipsis, body.width()) > body.height()) {
            const qsizetype cut = text.lastIndexOf(QLatin1Char(' '), text.size() - 2);
            text.truncate(cut > 0 ? cut : text.size() - std::max<qsizetype>(1, text.size() / 8));
        }
        text += ellipsis;
    }
    page.text(body, text, bodyFont, comment.empty() ? kPageMutedText : kPageText,
              Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
}

}  // namespace

void paintReportPage(QPainter& painter, const ReportContent& content) {
    PageLayout page(painter);
    const double left = page.left();
    const double width = page.right() - left;
    double y = page.header(QStringLiteral("Flight report"), headerLine(content));

    const QRect graphBox = QRectF(left, y, width, page.mm(kGraphHeightMm)).toAlignedRect();
    drawGraph(painter, graphBox, content.set, content.graph);
    page.frame(graphBox);
    y = graphBox.bottom() + page.mm(kPageGapMm);

    const double columnGap = page.mm(8);
    const double leftWidth = (width - columnGap) * 0.62;
    const double rightX = left + leftWidth + columnGap;
    const double rightWidth = page.right() - rightX;
    const double tablesBottom = page.footerTop() - page.mm(kPageGapMm);
    const double statsEnd = drawTable(page, left, y, leftWidth, tablesBottom,
                                      QStringLiteral("Flight statistics"), content.statistics);
    double rightY =
        drawTable(page, rightX, y, rightWidth, tablesBottom, QStringLiteral("Settings in force"),
                  settingsRows(content.settings, content.graph.units));
    if (content.flight) {
        const std::vector<ReportRow> rows = flightRows(*content.flight);
        if (!rows.empty()) {
            rightY = drawTable(page, rightX, rightY + page.mm(kPageGapMm), rightWidth, tablesBottom,
                               QStringLiteral("Flight"), rows);
        }
    }
    const double commentTop = std::max(statsEnd, rightY) + page.mm(kPageGapMm);
    drawComment(page, QRectF(left, commentTop, width, tablesBottom - commentTop), content.comment);

    // A simulation gets a page of its own where the device has pages (PDF, printer).
    auto* paged = dynamic_cast<QPagedPaintDevice*>(painter.device());
    const int pages = content.simulation && paged != nullptr ? 2 : 1;
    page.footer(content.name.empty() ? QStringLiteral("Data set %1").arg(content.set.setIndex + 1)
                                     : toQString(content.name),
                content.generated, 1, pages);
    if (pages == 2 && paged->newPage()) {
        paintSimulationPage(painter, content, 2, pages);
    }
}

}  // namespace tevusb::report
