// SPDX-License-Identifier: MIT
#include "graph/analysis_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "data/reading.h"
#include "graph/analysis_axes.h"
#include "graph/analysis_palette.h"
#include "graph/flight_markers.h"
#include "graph/line_batch.h"
#include "graph/simulation_overlay.h"

namespace tevusb::graph {

namespace {

namespace ap = analysis_palette;
using analysis::Quantity;

constexpr int kTickLength = 5;
constexpr int kGap = 4;
constexpr int kBarHeight = 5;

QColor colour(QRgb argb) {
    return QColor::fromRgba(argb);
}

}  // namespace

QString axisTitle(const char* name, Quantity quantity, analysis::UnitSystem units) {
    return QString::fromLatin1(name) + QStringLiteral(" (") +
           QString::fromUtf8(analysis::unitSymbol(quantity, units)) + QLatin1Char(')');
}

void drawGrid(QPainter& painter, const AnalysisLayout& layout) {
    const QRect& plot = layout.plot();
    LineBatch grid;
    for (const double t : layout.timeTicks().values) {
        const double x = layout.altitude().px(t);
        grid.add(x, plot.top(), x, plot.bottom());
    }
    for (const double shown : layout.altitudeTicks().values) {
        const double y =
            layout.altitude().py(analysis::fromDisplay(Quantity::Altitude, shown, layout.units()));
        grid.add(plot.left(), y, plot.right(), y);
    }
    grid.draw(painter, QPen(colour(ap::kGrid), 1));
}

// Tick marks and labels of one value axis on the left or the right of the plot.
void drawValueAxis(QPainter& painter, const AnalysisLayout& layout, Quantity quantity,
                   const AxisTicks& ticks, const PlotMapping& mapping, bool left,
                   const QString& title, QRgb titleColour) {
    const QRect& plot = layout.plot();
    const QFontMetricsF metrics = painter.fontMetrics();
    const int edge = left ? plot.left() : plot.right();
    const int direction = left ? -1 : 1;
    LineBatch marks;
    painter.setPen(colour(ap::kText));
    for (const double shown : ticks.values) {
        const int y = mapping.py(analysis::fromDisplay(quantity, shown, layout.units()));
        marks.add(edge, y, edge + direction * kTickLength, y);
        const QString text = ticks.label(shown);
        const double width = metrics.horizontalAdvance(text);
        const double x = left ? edge - kTickLength - kGap - width : edge + kTickLength + kGap;
        painter.drawText(QPointF(x, y + metrics.ascent() / 2.0 - 1), text);
    }
    marks.draw(painter, QPen(colour(ap::kFrame), 1));

    // The title runs up the outer edge of the target, in the colour of its curve.
    painter.save();
    const QRect& target = layout.target();
    const double x = left ? target.left() + kGap : target.right() + 1 - kGap;
    painter.translate(x, plot.center().y());
    painter.rotate(left ? -90.0 : 90.0);
    painter.setPen(colour(titleColour));
    const double width = metrics.horizontalAdvance(title);
    painter.drawText(QPointF(-width / 2.0, metrics.ascent()), title);
    painter.restore();
}

void drawTimeAxis(QPainter& painter, const AnalysisLayout& layout) {
    const QRect& plot = layout.plot();
    const QFontMetricsF metrics = painter.fontMetrics();
    LineBatch marks;
    painter.setPen(colour(ap::kText));
    const double labelTop = plot.bottom() + kTickLength + kGap;
    for (const double t : layout.timeTicks().values) {
        const int x = layout.altitude().px(t);
        marks.add(x, plot.bottom(), x, plot.bottom() + kTickLength);
        const QString text = layout.timeTicks().label(t);
        const double width = metrics.horizontalAdvance(text);
        painter.drawText(QPointF(x - width / 2.0, labelTop + metrics.ascent()), text);
    }
    marks.draw(painter, QPen(colour(ap::kFrame), 1));
    const QString title = axisTitle("Time", Quantity::Time, layout.units());
    const double width = metrics.horizontalAdvance(title);
    painter.drawText(
        QPointF(plot.center().x() - width / 2.0, labelTop + metrics.height() + metrics.ascent()),
        title);
}

namespace {

void drawCurves(QPainter& painter, const AnalysisLayout& layout, const data::DataSet& set) {
    const QRect& plot = layout.plot();
    painter.save();
    painter.setClipRect(plot.adjusted(0, 0, 1, 1));
    if (layout.velocity().v0() < 0.0 && layout.velocity().v1() > 0.0) {
        const int y = layout.velocity().py(0.0);
        painter.setPen(QPen(colour(ap::kZeroVelocity), 1, Qt::DashLine));
        painter.drawLine(plot.left(), y, plot.right(), y);
    }
    const double resolution = LineBatch::resolutionOf(painter);
    LineBatch batch;
    batch.addPolyline(layout.velocity(), set.smoothedVelocity, layout.firstSample(),
                      layout.endSample(), resolution);
    batch.draw(painter, QPen(colour(ap::kVelocity), ap::kCurveWidth, Qt::SolidLine, Qt::FlatCap,
                             Qt::MiterJoin));
    batch.clear();
    batch.addPolyline(layout.altitude(), set.smoothedAltitude, layout.firstSample(),
                      layout.endSample(), resolution);
    batch.draw(painter, QPen(colour(ap::kAltitude), ap::kCurveWidth, Qt::SolidLine, Qt::FlatCap,
                             Qt::MiterJoin));
    painter.restore();
}

// Thin bars along the bottom of the plot while each line is on (Line A lowest), so the
// firing times and durations can be read against the time axis.
void drawLineBars(QPainter& painter, const AnalysisLayout& layout, const data::DataSet& set) {
    const std::vector<std::uint8_t>& flags = set.lineFlags;
    const std::size_t end = std::min(layout.endSample(), flags.size());
    const QRect& plot = layout.plot();
    const PlotMapping& mapping = layout.altitude();
    const int rows[2] = {plot.bottom() - kBarHeight, plot.bottom() - 2 * kBarHeight - 1};
    const std::uint8_t bits[2] = {data::reading::kLineAFlag, data::reading::kLineBFlag};
    const QRgb colours[2] = {ap::kLineA, ap::kLineB};
    for (int line = 0; line < 2; ++line) {
        std::size_t i = layout.firstSample();
        while (i < end) {
            // Lines are off almost everywhere: pass over eight silent samples at a time.
            if (i + sizeof(std::uint64_t) <= end) {
                std::uint64_t word = 0;
                std::memcpy(&word, flags.data() + i, sizeof word);
                if (word == 0) {
                    i += sizeof word;
                    continue;
                }
            }
            if ((flags[i] & bits[line]) == 0) {
                ++i;
                continue;
            }
            const std::size_t first = i;
            while (i < end && (flags[i] & bits[line]) != 0) {
                ++i;
            }
            // A run covers its samples' tenths of a second; a single sample stays visible.
            const int x0 = mapping.px(data::reading::timeOfSample(first));
            const int x1 = std::max(x0 + 2, mapping.px(data::reading::timeOfSample(i)));
            painter.fillRect(QRect(x0, rows[line], x1 - x0, kBarHeight), colour(colours[line]));
        }
    }
}

}  // namespace

// Labels on the first row where they overlap no earlier label, so close events (launch
// and burnout, a flight's and its simulation's apogee) stay legible: two rows above the
// plot, then rows just inside it from its top down, over at most its top third.
std::vector<QRectF> markerLabelBoxes(const QFontMetricsF& metrics, const AnalysisLayout& layout,
                                     const std::vector<ExtraMarker>& markers) {
    const QRect& plot = layout.plot();
    // The spans each label row already holds; markers come in any time order.
    const auto insideRows =
        static_cast<std::size_t>(std::max(1.0, std::floor(plot.height() / 3.0 / metrics.height())));
    std::vector<std::vector<std::pair<double, double>>> taken(2 + insideRows);
    const auto isFree = [&](std::size_t row, double from, double to) {
        return std::none_of(taken[row].begin(), taken[row].end(), [&](const auto& span) {
            return from < span.second && span.first < to;
        });
    };
    std::vector<QRectF> boxes;
    for (const ExtraMarker& marker : markers) {
        if (!(marker.timeS >= layout.altitude().t0() && marker.timeS <= layout.altitude().t1())) {
            boxes.emplace_back();
            continue;
        }
        const int x = layout.altitude().px(marker.timeS);
        const double width = metrics.horizontalAdvance(marker.label) + 2 * kGap;
        double left = x + 2.0;
        if (left + width > plot.right()) {
            left = x - 2.0 - width;
        }
        left = std::max(left, static_cast<double>(plot.left()));
        std::size_t row = 0;
        while (row + 1 < taken.size() && !isFree(row, left, left + width)) {
            ++row;
        }
        taken[row].emplace_back(left, left + width);
        const double rowTop =
            row < 2 ? plot.top() - 1.0 - static_cast<double>(row + 1) * metrics.height()
                    : plot.top() + 2.0 + static_cast<double>(row - 2) * metrics.height();
        boxes.emplace_back(left, rowTop, width, metrics.height());
    }
    return boxes;
}

// Every line first and then every label, so no marker's line crosses another's label.
void drawMarkers(QPainter& painter, const AnalysisLayout& layout,
                 const std::vector<ExtraMarker>& markers) {
    const QRect& plot = layout.plot();
    const auto boxes = markerLabelBoxes(painter.fontMetrics(), layout, markers);
    for (std::size_t i = 0; i < markers.size(); ++i) {
        if (boxes[i].isNull()) {
            continue;
        }
        // The line reaches up to its label, so each label points at its own line.
        const int x = layout.altitude().px(markers[i].timeS);
        painter.setPen(QPen(colour(markers[i].colour), 1, Qt::DashLine));
        painter.drawLine(x, static_cast<int>(std::min(boxes[i].top(), double(plot.top()))), x,
                         plot.bottom());
    }
    for (std::size_t i = 0; i < markers.size(); ++i) {
        if (boxes[i].isNull()) {
            continue;
        }
        painter.fillRect(boxes[i], colour(ap::kLabelBox));
        painter.setPen(colour(markers[i].colour));
        painter.drawText(boxes[i], Qt::AlignCenter, markers[i].label);
    }
}

QFont analysisFont() {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(ap::kFontPoints);
    return font;
}

namespace {

// The flight's name in the plot's top right corner, on a label box like the markers'.
void drawTitle(QPainter& painter, const QRect& plot, const QString& title) {
    const QFontMetrics metrics = painter.fontMetrics();
    constexpr int kPad = 4;
    const QString text = metrics.elidedText(title, Qt::ElideRight, plot.width() / 2);
    const int width = metrics.horizontalAdvance(text) + 2 * kPad;
    const QRect box(plot.right() - width - kPad, plot.top() + kPad, width, metrics.height());
    painter.fillRect(box, colour(ap::kLabelBox));
    painter.setPen(colour(ap::kText));
    painter.drawText(box, Qt::AlignCenter, text);
}

}  // namespace

AnalysisLayout drawAnalysisView(QPainter& painter, const QRect& target, const data::DataSet& set,
                                const analysis::FlightStatistics& statistics,
                                const AnalysisViewState& state, analysis::UnitSystem units) {
    painter.save();
    const QFont font = analysisFont();
    painter.setFont(font);
    painter.fillRect(target, colour(ap::kBackground));
    AnalysisLayout layout(target, set, state, units, font, painter.device());
    if (!layout.valid()) {
        painter.restore();
        return layout;
    }
    painter.setClipRect(target);
    drawGrid(painter, layout);
    if (set.size() > 0) {
        drawCurves(painter, layout, set);
        if (state.simulation) {
            drawSimulationOverlay(painter, layout, *state.simulation);
        }
        painter.save();
        painter.setClipRect(layout.plot());
        drawLineBars(painter, layout, set);
        painter.restore();
        std::vector<ExtraMarker> markers = flightMarkers(statistics, units);
        markers.insert(markers.end(), state.extraMarkers.begin(), state.extraMarkers.end());
        if (state.simulation) {
            markers.insert(markers.end(), state.simulation->events.begin(),
                           state.simulation->events.end());
        }
        drawMarkers(painter, layout, markers);
    } else {
        // An empty plot says why it is empty rather than looking broken.
        painter.setPen(colour(ap::kText));
        painter.drawText(layout.plot(), Qt::AlignCenter, QStringLiteral("No readings in this set"));
    }
    if (!state.title.isEmpty()) {
        drawTitle(painter, layout.plot(), state.title);
    }
    painter.setPen(QPen(colour(ap::kFrame), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(layout.plot());
    drawTimeAxis(painter, layout);
    drawValueAxis(painter, layout, Quantity::Altitude, layout.altitudeTicks(), layout.altitude(),
                  true, axisTitle("Altitude", Quantity::Altitude, units), ap::kAltitude);
    drawValueAxis(painter, layout, Quantity::Speed, layout.velocityTicks(), layout.velocity(),
                  false, axisTitle("Velocity", Quantity::Speed, units), ap::kVelocity);
    painter.restore();
    return layout;
}

}  // namespace tevusb::graph
