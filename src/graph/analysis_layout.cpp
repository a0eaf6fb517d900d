// SPDX-License-Identifier: MIT
#include "graph/analysis_layout.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "data/reading.h"
#include "graph/series_scan.h"
#include "graph/simulation_overlay.h"

namespace tevusb::graph {

namespace {

using analysis::Quantity;

constexpr double kTickLength = 5.0;
constexpr double kGap = 4.0;
// A flat stretch still gets this much of an axis (SI units), so its ticks stay apart.
constexpr double kSmallestRange = 1.0;
constexpr double kHeadroom = 0.05;

struct Range {
    double low;
    double high;
};

// Ticks for the display values of an SI range; the label height decides their spacing.
AxisTicks valueTicks(Quantity quantity, Range si, analysis::UnitSystem units, double lengthPx,
                     double labelHeight) {
    const double low = analysis::toDisplay(quantity, si.low, units);
    const double high = analysis::toDisplay(quantity, si.high, units);
    return fittedTicks(low, high, lengthPx, [&](const QString&) { return labelHeight * 1.6; });
}

double widestLabel(const AxisTicks& ticks, const QFontMetricsF& metrics) {
    double widest = 0.0;
    for (const double v : ticks.values) {
        widest = std::max(widest, metrics.horizontalAdvance(ticks.label(v)));
    }
    return widest;
}

}  // namespace

void visibleRange(const std::vector<double>& series, std::size_t first, std::size_t end,
                  double& low, double& high) {
    end = std::min(end, series.size());
    low = 0.0;
    high = 1.0;
    if (first >= end) {
        return;
    }
    SeriesExtent extent = scanExtent(series.data() + first, end - first);
    if (!extent.finite) {
        // Rare (corrupt values): find the finite extremes one by one.
        extent = {INFINITY, -INFINITY, true};
        for (std::size_t i = first; i < end; ++i) {
            if (std::isfinite(series[i])) {
                extent.low = std::min(extent.low, series[i]);
                extent.high = std::max(extent.high, series[i]);
            }
        }
        if (extent.low > extent.high) {
            return;
        }
    }
    const double mid = (extent.low + extent.high) / 2.0;
    const double half = std::max((extent.high - extent.low) / 2.0, kSmallestRange / 2.0);
    low = mid - half * (1.0 + kHeadroom);
    high = mid + half * (1.0 + kHeadroom);
}

AnalysisLayout::AnalysisLayout(const QRect& target, const data::DataSet& set,
                               const AnalysisViewState& state, analysis::UnitSystem units,
                               const QFont& font, QPaintDevice* device)
    : m_target(target), m_units(units) {
    const QFontMetricsF metrics(font, device);
    const std::size_t n = std::min(set.smoothedAltitude.size(), set.smoothedVelocity.size());
    // A state nobody has fitted to this set (a report's fresh one) shows the whole flight.
    TimeWindow window = state.window;
    if (window.duration() <= 0.0 && n > 1) {
        window.setFlight(data::reading::timeOfSample(n - 1));
    }
    const double perSecond = data::reading::kSamplesPerSecond;
    m_first = std::min(
        n, static_cast<std::size_t>(std::max(0.0, std::floor(window.start() * perSecond))));
    // One sample past each edge, so the curves run to the frame.
    m_end = std::min(
        n, static_cast<std::size_t>(std::max(0.0, std::ceil(window.end() * perSecond))) + 2);

    Range altitude{};
    Range velocity{};
    visibleRange(set.smoothedAltitude, m_first, m_end, altitude.low, altitude.high);
    visibleRange(set.smoothedVelocity, m_first, m_end, velocity.low, velocity.high);
    if (state.simulation) {
        widenForOverlay(*state.simulation, window.start(), window.end(), altitude.low,
                        altitude.high, velocity.low, velocity.high);
    }
    place(window.start(), window.end(), altitude.low, altitude.high, velocity.low, velocity.high,
          metrics);
}

AnalysisLayout::AnalysisLayout(const QRect& target, const ValueRanges& ranges,
                               analysis::UnitSystem units, const QFont& font, QPaintDevice* device)
    : m_target(target), m_units(units) {
    place(ranges.t0, ranges.t1, ranges.altitudeLow, ranges.altitudeHigh, ranges.velocityLow,
          ranges.velocityHigh, QFontMetricsF(font, device));
}

void AnalysisLayout::place(double t0, double t1, double altitudeLow, double altitudeHigh,
                           double velocityLow, double velocityHigh, const QFontMetricsF& metrics) {
    const QRect& target = m_target;
    const analysis::UnitSystem units = m_units;
    const double lineHeight = metrics.height();
    const Range altitude{altitudeLow, altitudeHigh};
    const Range velocity{velocityLow, velocityHigh};
    // Two rows of marker labels above the plot.
    const double top = target.top() + kGap + 2 * lineHeight + kGap;
    const double bottom = target.bottom() + 1 - (kTickLength + kGap + 2 * lineHeight + kGap);
    const double plotHeight = std::max(0.0, bottom - top);
    m_altitudeTicks = valueTicks(Quantity::Altitude, altitude, units, plotHeight, lineHeight);
    m_velocityTicks = valueTicks(Quantity::Speed, velocity, units, plotHeight, lineHeight);

    // Each side: the rotated axis title, a gap, the widest label and the tick.
    const double left = target.left() + kGap + lineHeight + kGap +
                        widestLabel(m_altitudeTicks, metrics) + kGap + kTickLength;
    const double right =
        target.right() + 1 -
        (kGap + lineHeight + kGap + widestLabel(m_velocityTicks, metrics) + kGap + kTickLength);
    m_plot = QRect(QPoint(static_cast<int>(left), static_cast<int>(top)),
                   QPoint(static_cast<int>(right) - 1, static_cast<int>(bottom) - 1));
    if (m_plot.width() <= 0 || m_plot.height() <= 0) {
        m_plot = QRect();
        return;
    }
    const QRectF plot(m_plot);
    m_altitude = PlotMapping(plot, t0, t1, altitude.low, altitude.high);
    m_velocity = PlotMapping(plot, t0, t1, velocity.low, velocity.high);
    const double spacing = metrics.horizontalAdvance(QStringLiteral("  "));
    m_timeTicks = fittedTicks(t0, t1, plot.width(), [&](const QString& text) {
        return metrics.horizontalAdvance(text) + spacing;
    });
}

}  // namespace tevusb::graph
