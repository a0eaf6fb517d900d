// SPDX-License-Identifier: MIT
#include "graph/comparison_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "analysis/statistics_table.h"
#include "data/reading.h"
#include "graph/analysis_axes.h"
#include "graph/analysis_palette.h"
#include "graph/analysis_view.h"
#include "graph/cursor_readout.h"
#include "graph/line_batch.h"

namespace tevusb::graph {

namespace {

namespace ap = analysis_palette;
using analysis::Quantity;

constexpr double kPadding = 5.0;
constexpr double kSwatch = 18.0;
constexpr int kDot = 3;

constexpr QRgb kColours[] = {0xFFD62728, 0xFF1F77B4, 0xFF2CA02C, 0xFFFF7F0E, 0xFF9467BD,
                             0xFF8C564B, 0xFFE377C2, 0xFF7F7F7F, 0xFFBCBD22, 0xFF17BECF};

// Samples [first, end) of a flight that reach into common times [t0, t1].
struct Span {
    std::size_t first = 0;
    std::size_t end = 0;
};

Span visibleSpan(const ComparedFlight& flight, const analysis::AlignedFlight& aligned, double t0,
                 double t1) {
    const std::size_t n =
        std::min(flight.set.smoothedAltitude.size(), flight.set.smoothedVelocity.size());
    const double perSecond = data::reading::kSamplesPerSecond;
    const double from = std::floor((t0 + aligned.anchorS) * perSecond);
    const double to = std::ceil((t1 + aligned.anchorS) * perSecond) + 2.0;
    Span s;
    s.first = static_cast<std::size_t>(std::clamp(from, 0.0, static_cast<double>(n)));
    s.end = static_cast<std::size_t>(std::clamp(to, 0.0, static_cast<double>(n)));
    return s;
}

void widen(double& low, double& high, bool& any, double l, double h) {
    low = any ? std::min(low, l) : l;
    high = any ? std::max(high, h) : h;
    any = true;
}

AnalysisLayout::ValueRanges rangesOf(const std::vector<ComparedFlight>& flights,
                                     const analysis::FlightAlignment& alignment, double t0,
                                     double t1) {
    AnalysisLayout::ValueRanges r;
    r.t0 = t0;
    r.t1 = t1;
    bool anyAltitude = false;
    bool anyVelocity = false;
    for (std::size_t i = 0; i < flights.size() && i < alignment.flights.size(); ++i) {
        const Span s = visibleSpan(flights[i], alignment.flights[i], t0, t1);
        if (s.first >= s.end) {
            continue;
        }
        double low = 0.0;
        double high = 1.0;
        visibleRange(flights[i].set.smoothedAltitude, s.first, s.end, low, high);
        widen(r.altitudeLow, r.altitudeHigh, anyAltitude, low, high);
        visibleRange(flights[i].set.smoothedVelocity, s.first, s.end, low, high);
        widen(r.velocityLow, r.velocityHigh, anyVelocity, low, high);
    }
    return r;
}

// The flight's own clock on the plot: its sample i lies at common time i / 10 - anchor.
PlotMapping ownMapping(const AnalysisLayout& layout, const PlotMapping& common,
                       const analysis::AlignedFlight& aligned) {
    return PlotMapping(QRectF(layout.plot()), common.t0() + aligned.anchorS,
                       common.t1() + aligned.anchorS, common.v0(), common.v1());
}

void drawCurves(QPainter& painter, const AnalysisLayout& layout,
                const std::vector<ComparedFlight>& flights,
                const analysis::FlightAlignment& alignment, const ComparisonState& state) {
    painter.save();
    painter.setClipRect(layout.plot().adjusted(0, 0, 1, 1));
    const double resolution = LineBatch::resolutionOf(painter);
    LineBatch batch;
    for (std::size_t i = 0; i < flights.size() && i < alignment.flights.size(); ++i) {
        const Span s = visibleSpan(flights[i], alignment.flights[i], layout.altitude().t0(),
                                   layout.altitude().t1());
        const QColor colour = QColor::fromRgba(comparisonColour(i));
        if (state.velocity) {
            batch.clear();
            batch.addPolyline(ownMapping(layout, layout.velocity(), alignment.flights[i]),
                              flights[i].set.smoothedVelocity, s.first, s.end, resolution);
            batch.draw(painter, QPen(colour, 1, Qt::DashLine, Qt::FlatCap, Qt::MiterJoin));
        }
        if (state.altitude) {
            batch.clear();
            batch.addPolyline(ownMapping(layout, layout.altitude(), alignment.flights[i]),
                              flights[i].set.smoothedAltitude, s.first, s.end, resolution);
            batch.draw(painter,
                       QPen(colour, ap::kCurveWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        }
    }
    painter.restore();
}

QString legendText(const ComparedFlight& flight, const analysis::AlignedFlight& aligned,
                   analysis::AlignAt at) {
    if (aligned.anchored) {
        return flight.name;
    }
    return flight.name + (at == analysis::AlignAt::Launch ? QStringLiteral(" (no launch found)")
                                                          : QStringLiteral(" (no apogee found)"));
}

// Top right inside the plot, one row per flight: a stroke in its colour and its name.
void drawLegend(QPainter& painter, const AnalysisLayout& layout,
                const std::vector<ComparedFlight>& flights,
                const analysis::FlightAlignment& alignment, analysis::AlignAt at) {
    if (flights.empty()) {
        return;
    }
    const QFontMetricsF metrics = painter.fontMetrics();
    double width = 0.0;
    for (std::size_t i = 0; i < flights.size() && i < alignment.flights.size(); ++i) {
        width = std::max(
            width, metrics.horizontalAdvance(legendText(flights[i], alignment.flights[i], at)));
    }
    const QRect& plot = layout.plot();
    width += kSwatch + 3 * kPadding;
    const double height = metrics.height() * static_cast<double>(flights.size()) + 2 * kPadding;
    const QRectF box(plot.right() - width - kPadding, plot.top() + kPadding, width, height);
    painter.save();
    painter.setClipRect(plot.adjusted(0, 0, 1, 1));
    painter.setPen(QPen(QColor::fromRgba(ap::kFrame), 1));
    painter.setBrush(QColor::fromRgba(ap::kLabelBox));
    painter.drawRect(box);
    for (std::size_t i = 0; i < flights.size() && i < alignment.flights.size(); ++i) {
        const double y = box.top() + kPadding + metrics.height() * static_cast<double>(i);
        const double mid = y + metrics.height() / 2.0;
        painter.setPen(QPen(QColor::fromRgba(comparisonColour(i)), ap::kCurveWidth));
        painter.drawLine(QPointF(box.left() + kPadding, mid),
                         QPointF(box.left() + kPadding + kSwatch, mid));
        painter.setPen(QColor::fromRgba(ap::kText));
        painter.drawText(QPointF(box.left() + 2 * kPadding + kSwatch, y + metrics.ascent()),
                         legendText(flights[i], alignment.flights[i], at));
    }
    painter.restore();
}

double valueAt(const std::vector<double>& series, std::size_t i) {
    return i < series.size() && std::isfinite(series[i]) ? series[i] : 0.0;
}

// Common time t as the flyer reads it: from launch in the one convention ("T+12.0 s"), or
// from the apogee the flights are lined up on.
QString commonTimeText(double t, analysis::AlignAt at) {
    if (at == analysis::AlignAt::Launch) {
        return QString::fromStdString(analysis::flightTimeText(t, 0.0));
    }
    const QString amount = QString::fromStdString(analysis::formatNumber(std::abs(t), 1));
    if (std::abs(t) < 0.05) {
        return QStringLiteral("at apogee");
    }
    return amount +
           (t < 0 ? QStringLiteral(" s before apogee") : QStringLiteral(" s after apogee"));
}

// The flight's sample nearest common time t, if it recorded one there.
std::optional<std::size_t> sampleAt(const ComparedFlight& flight,
                                    const analysis::AlignedFlight& aligned, double t) {
    const double own = std::round((t + aligned.anchorS) * data::reading::kSamplesPerSecond);
    const std::size_t n = flight.set.smoothedAltitude.size();
    if (!(own >= 0.0) || own >= static_cast<double>(n)) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(own);
}

}  // namespace

QRgb comparisonColour(std::size_t index) {
    return kColours[index % std::size(kColours)];
}

AnalysisLayout drawComparison(QPainter& painter, const QRect& target,
                              const std::vector<ComparedFlight>& flights,
                              const analysis::FlightAlignment& alignment,
                              const ComparisonState& state, analysis::UnitSystem units) {
    painter.save();
    const QFont font = analysisFont();
    painter.setFont(font);
    painter.fillRect(target, QColor::fromRgba(ap::kBackground));
    const double t0 = alignment.startS + state.window.start();
    const double t1 = alignment.startS + state.window.end();
    AnalysisLayout layout(target, rangesOf(flights, alignment, t0, t1), units, font,
                          painter.device());
    if (!layout.valid()) {
        painter.restore();
        return layout;
    }
    painter.setClipRect(target);
    drawGrid(painter, layout);
    drawCurves(painter, layout, flights, alignment, state);
    const QString moment = state.alignAt == analysis::AlignAt::Launch ? QStringLiteral("Launch")
                                                                      : QStringLiteral("Apogee");
    drawMarkers(painter, layout, {{0.0, moment, ap::kPhase}});
    painter.setPen(QPen(QColor::fromRgba(ap::kFrame), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(layout.plot());
    drawTimeAxis(painter, layout);
    if (state.altitude) {
        drawValueAxis(painter, layout, Quantity::Altitude, layout.altitudeTicks(),
                      layout.altitude(), true, axisTitle("Altitude", Quantity::Altitude, units),
                      ap::kText);
    }
    if (state.velocity) {
        drawValueAxis(painter, layout, Quantity::Speed, layout.velocityTicks(), layout.velocity(),
                      false, axisTitle("Velocity, dashed", Quantity::Speed, units), ap::kText);
    }
    drawLegend(painter, layout, flights, alignment, state.alignAt);
    if (flights.empty()) {
        painter.setPen(QColor::fromRgba(ap::kText));
        painter.drawText(layout.plot(), Qt::AlignCenter,
                         QStringLiteral("No flights to compare: add data-set files"));
    }
    painter.restore();
    return layout;
}

QStringList comparisonReadout(const std::vector<ComparedFlight>& flights,
                              const analysis::FlightAlignment& alignment, double t,
                              analysis::AlignAt at, analysis::UnitSystem units) {
    QStringList lines{QStringLiteral("Time ") + commonTimeText(t, at)};
    for (std::size_t i = 0; i < flights.size() && i < alignment.flights.size(); ++i) {
        const auto k = sampleAt(flights[i], alignment.flights[i], t);
        QString line = flights[i].name + QStringLiteral(": ");
        if (!k) {
            lines.push_back(line + QStringLiteral("\u2014"));
            continue;
        }
        // The first line already says a launch-aligned flight's own time; any other clock
        // (apogee alignment, a flight without a launch) is said per flight.
        if (at != analysis::AlignAt::Launch || !alignment.flights[i].anchored) {
            line += QString::fromStdString(analysis::flightTimeText(
                        data::reading::timeOfSample(*k), flights[i].statistics.launchTimeS)) +
                    QStringLiteral(", ");
        }
        line += QString::fromStdString(analysis::formatQuantity(
            Quantity::Altitude, valueAt(flights[i].set.smoothedAltitude, *k), units, 1));
        line += QStringLiteral(", ") +
                QString::fromStdString(analysis::formatQuantity(
                    Quantity::Speed, valueAt(flights[i].set.smoothedVelocity, *k), units, 1));
        lines.push_back(line);
    }
    return lines;
}

void drawComparisonCursor(QPainter& painter, const AnalysisLayout& layout,
                          const std::vector<ComparedFlight>& flights,
                          const analysis::FlightAlignment& alignment, const ComparisonState& state,
                          double t) {
    if (!layout.valid()) {
        return;
    }
    const QRect& plot = layout.plot();
    const int x = layout.altitude().px(t);
    painter.save();
    painter.setClipRect(plot.adjusted(0, 0, 1, 1));
    painter.setPen(QPen(QColor::fromRgba(ap::kReadout), 1));
    painter.drawLine(x, plot.top(), x, plot.bottom());
    painter.setPen(Qt::NoPen);
    for (std::size_t i = 0; i < flights.size() && i < alignment.flights.size(); ++i) {
        const auto k = sampleAt(flights[i], alignment.flights[i], t);
        if (!k) {
            continue;
        }
        painter.setBrush(QColor::fromRgba(comparisonColour(i)));
        if (state.altitude) {
            const int y = layout.altitude().py(valueAt(flights[i].set.smoothedAltitude, *k));
            painter.drawRect(x - kDot, y - kDot, 2 * kDot, 2 * kDot);
        }
        if (state.velocity) {
            const int y = layout.velocity().py(valueAt(flights[i].set.smoothedVelocity, *k));
            painter.drawRect(x - kDot, y - kDot, 2 * kDot, 2 * kDot);
        }
    }
    painter.restore();
    drawReadoutBox(painter, plot, x,
                   comparisonReadout(flights, alignment, t, state.alignAt, layout.units()));
}

}  // namespace tevusb::graph
