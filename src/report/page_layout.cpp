// SPDX-License-Identifier: MIT
#include "report/page_layout.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

#include "text/string_table.h"

namespace tevusb::report {

namespace {
QString programName() {
    return QString::fromUtf8(text::kCaption.data(), static_cast<qsizetype>(text::kCaption.size()));
}
}  // namespace

QString toQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont pageFont(double points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

PageLayout::PageLayout(QPainter& painter)
    : m_painter(painter), m_device(*painter.device()), m_perMm(m_device.logicalDpiY() / 25.4) {}

double PageLayout::width() const {
    return m_device.width();
}

double PageLayout::height() const {
    return m_device.height();
}

double PageLayout::lineHeight(const QFont& font) const {
    return QFontMetricsF(font, &m_device).height();
}

double PageLayout::textWidth(const QFont& font, const QString& text) const {
    return QFontMetricsF(font, &m_device).horizontalAdvance(text);
}

double PageLayout::wrappedHeight(const QFont& font, const QString& text, double width) const {
    return QFontMetricsF(font, &m_device)
        .boundingRect(QRectF(0, 0, width, 1e6), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                      text)
        .height();
}

void PageLayout::text(const QRectF& box, const QString& text, const QFont& font, QRgb colour,
                      int flags) {
    m_painter.setFont(font);
    m_painter.setPen(QColor::fromRgba(colour));
    m_painter.drawText(box, flags, text);
}

void PageLayout::rule(double y) {
    m_painter.setPen(QPen(QColor::fromRgba(kPageRule), std::max(1.0, mm(0.3))));
    m_painter.drawLine(QPointF(left(), y), QPointF(right(), y));
}

void PageLayout::frame(const QRectF& box) {
    m_painter.setPen(QPen(QColor::fromRgba(kPageRule), std::max(1.0, mm(0.3))));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(box);
}

double PageLayout::header(const QString& what, const QString& subtitle) {
    double y = mm(kPageMarginMm);
    const double width = right() - left();
    const QFont titleFont = pageFont(18, true);
    const double titleHeight = lineHeight(titleFont);
    text(QRectF(left(), y, width, titleHeight), programName() + QStringLiteral(" \u2014 ") + what,
         titleFont, kPageText);
    y += titleHeight;
    const QFont subFont = pageFont(10);
    const double subHeight = lineHeight(subFont);
    text(QRectF(left(), y, width, subHeight), subtitle, subFont, kPageMutedText);
    y += subHeight + mm(2);
    rule(y);
    return y + mm(3);
}

void PageLayout::footer(const QString& leftText, const QDateTime& generated, int page, int pages) {
    const double top = footerTop();
    rule(top);
    const QFont font = pageFont(8);
    const QRectF box(left(), top + mm(1.5), right() - left(), lineHeight(font));
    text(box, programName() + QStringLiteral("  \u00b7  ") + leftText, font, kPageMutedText);
    const QString when = generated.isValid()
                             ? generated.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"))
                             : QStringLiteral("\u2014");
    text(box,
         QStringLiteral("Generated ") + when +
             QStringLiteral("  \u00b7  Page %1 of %2").arg(page).arg(pages),
         font, kPageMutedText, Qt::AlignRight | Qt::AlignTop);
}

}  // namespace tevusb::report
