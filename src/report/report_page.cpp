// SPDX-License-Identifier: MIT
#include "report/report_page.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

#include "report/report_text.h"
#include "text/string_table.h"

namespace tevusb::report {

namespace {

constexpr double kMarginMm = 15.0;
constexpr double kGraphHeightMm = 132.0;
constexpr double kGapMm = 5.0;
constexpr double kFooterMm = 8.0;
constexpr QRgb kRuleColour = 0xFF808080;
constexpr QRgb kMutedText = 0xFF505050;

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QFont pageFont(double points, bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Device units per millimetre and the fonts measured on the device drawn on.
class PageLayout {
  public:
    explicit PageLayout(QPainter& painter)
        : m_painter(painter), m_device(*painter.device()), m_perMm(m_device.logicalDpiY() / 25.4) {}

    double mm(double millimetres) const { return millimetres * m_perMm; }
    double width() const { return m_device.width(); }
    double height() const { return m_device.height(); }
    double lineHeight(const QFont& font) const { return QFontMetricsF(font, &m_device).height(); }
    double textWidth(const QFont& font, const QString& text) const {
        return QFontMetricsF(font, &m_device).horizontalAdvance(text);
    }

    void text(const QRectF& box, const QString& text, const QFont& font, QRgb colour,
              int flags = Qt::AlignLeft | Qt::AlignTop) {
        m_painter.setFont(font);
        m_painter.setPen(QColor::fromRgba(colour));
        m_painter.drawText(box, flags, text);
    }
    void rule(double y, double left, double right) {
        m_painter.setPen(QPen(QColor::fromRgba(kRuleColour), std::max(1.0, mm(0.3))));
        m_painter.drawLine(QPointF(left, y), QPointF(right, y));
    }
    QPainter& painter() { return m_painter; }

  private:
    QPainter& m_painter;
    QPaintDevice& m_device;
    double m_perMm;
};

// A heading and label/value rows; returns the y below the last row drawn. Rows that do
// not fit above `bottom` are left out, with a last line saying how many.
double drawTable(PageLayout& page, double x, double y, double width, double bottom,
                 const QString& heading, const std::vector<ReportRow>& rows) {
    const QFont headingFont = pageFont(11, true);
    const QFont labelFont = pageFont(9.5, true);
    const QFont valueFont = pageFont(9.5);
    const double headingHeight = page.lineHeight(headingFont);
    page.text(QRectF(x, y, width, headingHeight), heading, headingFont, 0xFF000000);
    y += headingHeight + page.mm(1);

    double labelWidth = 0;
    for (const ReportRow& row : rows) {
        labelWidth = std::max(labelWidth, page.textWidth(labelFont, qs(row.label)));
    }
    labelWidth = std::min(labelWidth + page.mm(3), width * 0.5);
    const double lineHeight = page.lineHeight(valueFont);
    const double valueWidth = width - labelWidth;
    const QFontMetricsF metrics(valueFont, page.painter().device());
    const int wrap = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        // A long value wraps under itself rather than losing its end.
        const QString value = qs(rows[i].value);
        const double rowHeight =
            std::max(lineHeight,
                     metrics.boundingRect(QRectF(0, 0, valueWidth, 1e6), wrap, value).height()) +
            lineHeight * 0.15;
        if (y + rowHeight > bottom) {
            page.text(QRectF(x, y, width, lineHeight),
                      QStringLiteral("(%1 more rows left out)").arg(rows.size() - i), valueFont,
                      kMutedText);
            return y + lineHeight;
        }
        page.text(QRectF(x, y, labelWidth, rowHeight), qs(rows[i].label), labelFont, 0xFF000000);
        page.text(QRectF(x + labelWidth, y, valueWidth, rowHeight), value, valueFont, 0xFF000000,
                  wrap);
        y += rowHeight;
    }
    return y;
}

QString headerLine(const ReportContent& content) {
    QString line = QStringLiteral("Data set %1").arg(content.set.setIndex + 1);
    if (!content.source.empty()) {
        line += QStringLiteral("  \u00b7  ") + qs(content.source);
    }
    line += QStringLiteral("  \u00b7  %1 readings").arg(content.set.size());
    line += QStringLiteral("  \u00b7  ") + qs(analysis::unitSystemName(content.graph.units)) +
            QStringLiteral(" units");
    return line;
}

// The comment, wrapped, in whatever room is left; what does not fit ends in an ellipsis.
void drawComment(PageLayout& page, const QRectF& box, const std::string& comment) {
    const QFont headingFont = pageFont(11, true);
    const QFont bodyFont = pageFont(9.5);
    const double headingHeight = page.lineHeight(headingFont);
    page.text(QRectF(box.left(), box.top(), box.width(), headingHeight), QStringLiteral("Comment"),
              headingFont, 0xFF000000);
    QRectF body(box.left(), box.top() + headingHeight + page.mm(1), box.width(),
                box.height() - headingHeight - page.mm(1));
    if (body.height() <= 0) {
        return;
    }
    QString text = comment.empty() ? QStringLiteral("(none)") : qs(comment);
    const QColor colour = QColor::fromRgba(comment.empty() ? kMutedText : 0xFF000000);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    QPainter& painter = page.painter();
    painter.setFont(bodyFont);
    painter.setPen(colour);
    const QFontMetricsF metrics(bodyFont, painter.device());
    if (metrics.boundingRect(body, flags, text).height() > body.height()) {
        // Shorten word by word until the text and its ellipsis fit.
        while (!text.isEmpty() &&
               metrics.boundingRect(body, flags, text + QStringLiteral(" \u2026")).height() >
                   body.height()) {
            const qsizetype cut = text.lastIndexOf(QLatin1Char(' '), text.size() - 2);
            text.truncate(cut > 0 ? cut : text.size() - std::max<qsizetype>(1, text.size() / 8));
        }
        text += QStringLiteral(" \u2026");
    }
    painter.drawText(body, flags, text);
}

}  // namespace

void paintReportPage(QPainter& painter, const ReportContent& content) {
    PageLayout page(painter);
    const double left = page.mm(kMarginMm);
    const double right = page.width() - page.mm(kMarginMm);
    const double width = right - left;
    const double bottom = page.height() - page.mm(kMarginMm);
    const QString program =
        QString::fromUtf8(text::kCaption.data(), static_cast<qsizetype>(text::kCaption.size()));

    double y = page.mm(kMarginMm);
    const QFont titleFont = pageFont(18, true);
    const double titleHeight = page.lineHeight(titleFont);
    page.text(QRectF(left, y, width, titleHeight),
              program + QStringLiteral(" \u2014 Flight report"), titleFont, 0xFF000000);
    y += titleHeight;
    const QFont subFont = pageFont(10);
    const double subHeight = page.lineHeight(subFont);
    page.text(QRectF(left, y, width, subHeight), headerLine(content), subFont, kMutedText);
    y += subHeight + page.mm(2);
    page.rule(y, left, right);
    y += page.mm(3);

    const QRect graphBox = QRectF(left, y, width, page.mm(kGraphHeightMm)).toAlignedRect();
    drawGraph(painter, graphBox, content.set, content.graph);
    painter.setPen(QPen(QColor::fromRgba(kRuleColour), std::max(1.0, page.mm(0.3))));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(graphBox);
    y = graphBox.bottom() + page.mm(kGapMm);

    const double footerTop = bottom - page.mm(kFooterMm);
    const double columnGap = page.mm(8);
    const double leftWidth = (width - columnGap) * 0.62;
    const double rightX = left + leftWidth + columnGap;
    const double rightWidth = right - rightX;
    const double tablesBottom = footerTop - page.mm(kGapMm);
    const QString statsHeading = QStringLiteral("Flight statistics");
    const double statsEnd =
        drawTable(page, left, y, leftWidth, tablesBottom, statsHeading, content.statistics);

    double rightY =
        drawTable(page, rightX, y, rightWidth, tablesBottom, QStringLiteral("Settings in force"),
                  settingsRows(content.settings, content.graph.units));
    if (content.flight) {
        const std::vector<ReportRow> rows = flightRows(*content.flight);
        if (!rows.empty()) {
            rightY = drawTable(page, rightX, rightY + page.mm(kGapMm), rightWidth, tablesBottom,
                               QStringLiteral("Flight"), rows);
        }
    }
    const double commentTop = std::max(statsEnd, rightY) + page.mm(kGapMm);
    drawComment(page, QRectF(left, commentTop, width, tablesBottom - commentTop), content.comment);

    page.rule(footerTop, left, right);
    const QFont footFont = pageFont(8);
    const QRectF footBox(left, footerTop + page.mm(1.5), width, page.lineHeight(footFont));
    page.text(footBox,
              program + QStringLiteral("  \u00b7  Data set %1").arg(content.set.setIndex + 1),
              footFont, kMutedText);
    const QString when =
        content.generated.isValid()
            ? content.generated.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"))
            : QString();
    page.text(footBox,
              QStringLiteral("Generated ") + when + QStringLiteral("  \u00b7  Page 1 of 1"),
              footFont, kMutedText, Qt::AlignRight | Qt::AlignTop);
}

}  // namespace tevusb::report
