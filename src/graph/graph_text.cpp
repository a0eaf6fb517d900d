// SPDX-License-Identifier: MIT
#include "graph/graph_text.h"

#include <QPainter>
#include <string>

#include "log/diagnostic_log.h"

namespace tevusb::graph {

namespace {
// Far enough outside the buffer that no label starting there can reach it.
constexpr std::int64_t kLabelReach = 1 << 16;
}  // namespace

QString floatText(float value) {
    std::string text;
    log::DiagnosticLog::appendNumber(text, static_cast<double>(value));
    return QString::fromStdString(text);
}

QString peakText(float seconds, float value, const char* unit) {
    return QStringLiteral("(") + floatText(seconds) + QStringLiteral(" s  ") + floatText(value) +
           QLatin1Char(' ') + QString::fromLatin1(unit) + QLatin1Char(')');
}

QFont labelFont() {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(12);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

void drawLabel(QPainter& painter, const QFont& font, std::int64_t x, std::int64_t y,
               const QString& text, QRgb argb) {
    if (x < -kLabelReach || x > kLabelReach || y < -kLabelReach || y > kLabelReach) {
        return;
    }
    painter.setFont(font);
    painter.setPen(QColor::fromRgba(argb));
    const QRectF box(static_cast<double>(x), static_cast<double>(y), kLabelReach, kLabelReach);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

}  // namespace tevusb::graph
