// SPDX-License-Identifier: MIT
#include "graph/cursor_readout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "analysis/statistics_table.h"
#include "data/reading.h"
#include "graph/analysis_palette.h"
#include "graph/analysis_view.h"

namespace tevusb::graph {

namespace {

namespace ap = analysis_palette;
using analysis::Quantity;

constexpr double kSlackPx = 3.0;
constexpr double kPadding = 5.0;
constexpr int kDot = 3;

QString onOff(bool on) {
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

double valueAt(const std::vector<double>& series, std::size_t i) {
    return i < series.size() && std::isfinite(series[i]) ? series[i] : 0.0;
}

}  // namespace

std::optional<ReadoutSample> nearestSample(const data::DataSet& set, const AnalysisLayout& layout,
                                           double x) {
    const QRect& plot = layout.plot();
    if (!layout.valid() || layout.firstSample() >= layout.endSample() ||
        x < plot.left() - kSlackPx || x > plot.right() + kSlackPx) {
        return std::nullopt;
    }
    const PlotMapping& mapping = layout.altitude();
    const double t = std::clamp(mapping.timeAt(x), mapping.t0(), mapping.t1());
    const double nearest = std::round(t * data::reading::kSamplesPerSecond);
    // The visible span may start or end between two samples; stay on samples inside it.
    std::size_t first = layout.firstSample();
    std::size_t last = layout.endSample() - 1;
    while (first < last && data::reading::timeOfSample(first) < mapping.t0() - 1e-9) {
        ++first;
    }
    while (last > first && data::reading::timeOfSample(last) > mapping.t1() + 1e-9) {
        --last;
    }
    const auto i = static_cast<std::size_t>(
        std::clamp(nearest, static_cast<double>(first), static_cast<double>(last)));
    ReadoutSample sample;
    sample.index = i;
    sample.timeS = data::reading::timeOfSample(i);
    sample.altitudeM = valueAt(set.smoothedAltitude, i);
    sample.velocityMs = valueAt(set.smoothedVelocity, i);
    const std::uint8_t flags = i < set.lineFlags.size() ? set.lineFlags[i] : 0;
    sample.lineA = (flags & data::reading::kLineAFlag) != 0;
    sample.lineB = (flags & data::reading::kLineBFlag) != 0;
    return sample;
}

QStringList readoutLines(const ReadoutSample& sample, analysis::UnitSystem units) {
    const auto text = [units](Quantity q, double si) {
        return QString::fromStdString(analysis::formatQuantity(q, si, units, 1));
    };
    return {
        QStringLiteral("Time ") +
            QString::fromStdString(analysis::flightTimeText(sample.timeS, sample.launchTimeS)),
        QStringLiteral("Altitude ") + text(Quantity::Altitude, sample.altitudeM),
        QStringLiteral("Velocity ") + text(Quantity::Speed, sample.velocityMs),
        QStringLiteral("Line A ") + onOff(sample.lineA) + QStringLiteral("  Line B ") +
            onOff(sample.lineB),
    };
}

void drawCursorReadout(QPainter& painter, const AnalysisLayout& layout,
                       const ReadoutSample& sample) {
    if (!layout.valid()) {
        return;
    }
    const QRect& plot = layout.plot();
    painter.save();
    painter.setClipRect(plot.adjusted(0, 0, 1, 1));
    const int x = layout.altitude().px(sample.timeS);
    painter.setPen(QPen(QColor::fromRgba(ap::kReadout), 1));
    painter.drawLine(x, plot.top(), x, plot.bottom());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(ap::kAltitude));
    painter.drawRect(x - kDot, layout.altitude().py(sample.altitudeM) - kDot, 2 * kDot, 2 * kDot);
    painter.setBrush(QColor::fromRgba(ap::kVelocity));
    painter.drawRect(x - kDot, layout.velocity().py(sample.velocityMs) - kDot, 2 * kDot, 2 * kDot);

    painter.restore();
    drawReadoutBox(painter, plot, x, readoutLines(sample, layout.units()));
}

void drawReadoutBox(QPainter& painter, const QRect& plot, int x, const QStringList& lines) {
    painter.save();
    painter.setClipRect(plot.adjusted(0, 0, 1, 1));
    painter.setFont(analysisFont());
    const QFontMetricsF metrics = painter.fontMetrics();
    double width = 0.0;
    for (const QString& line : lines) {
        width = std::max(width, metrics.horizontalAdvance(line));
    }
    width += 2 * kPadding;
    const double height = metrics.height() * static_cast<double>(lines.size()) + 2 * kPadding;
    // Right of the line unless that leaves the plot; low enough to clear the marker labels.
    double left = x + 8.0;
    if (left + width > plot.right()) {
        left = x - 8.0 - width;
    }
    left = std::max(left, static_cast<double>(plot.left()) + 1.0);
    const double top = plot.top() + std::min(plot.height() * 0.3, 4.5 * metrics.height());
    const QRectF box(left, top, width, height);
    painter.setPen(QPen(QColor::fromRgba(ap::kFrame), 1));
    painter.setBrush(QColor::fromRgba(ap::kReadoutBox));
    painter.drawRect(box);
    painter.setPen(QColor::fromRgba(ap::kText));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        painter.drawText(
            QPointF(left + kPadding,
                    top + kPadding + metrics.height() * static_cast<double>(i) + metrics.ascent()),
            lines[i]);
    }
    painter.restore();
}

}  // namespace tevusb::graph
