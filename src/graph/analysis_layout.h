// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QRect>
#include <cstddef>

#include "analysis/units.h"
#include "data/data_set.h"
#include "graph/analysis_view_state.h"
#include "graph/axis_ticks.h"
#include "graph/plot_mapping.h"

class QFontMetricsF;
class QPaintDevice;

namespace tevusb::graph {

// Where everything of the analysis view goes inside its target rectangle: the plot
// area, the two value mappings (altitude left, velocity right, both refitted to the
// visible samples), the ticks of the three axes in display units, and the samples
// that fall in the visible time span. Axis ticks hold display values; `toSi` gives
// their place on the SI mapping.
class AnalysisLayout {
  public:
    // What a view of several flights shows: a time span and the SI ranges of both axes.
    struct ValueRanges {
        double t0 = 0.0;
        double t1 = 1.0;
        double altitudeLow = 0.0;
        double altitudeHigh = 1.0;
        double velocityLow = 0.0;
        double velocityHigh = 1.0;
    };

    AnalysisLayout() = default;
    AnalysisLayout(const QRect& target, const data::DataSet& set, const AnalysisViewState& state,
                   analysis::UnitSystem units, const QFont& font, QPaintDevice* device);
    // The same frame for explicit ranges; it selects no samples (firstSample == endSample).
    AnalysisLayout(const QRect& target, const ValueRanges& ranges, analysis::UnitSystem units,
                   const QFont& font, QPaintDevice* device);

    const QRect& target() const { return m_target; }
    const QRect& plot() const { return m_plot; }
    const PlotMapping& altitude() const { return m_altitude; }
    const PlotMapping& velocity() const { return m_velocity; }
    const AxisTicks& timeTicks() const { return m_timeTicks; }
    const AxisTicks& altitudeTicks() const { return m_altitudeTicks; }
    const AxisTicks& velocityTicks() const { return m_velocityTicks; }
    analysis::UnitSystem units() const { return m_units; }
    // Samples [firstSample, endSample) reach into the visible span.
    std::size_t firstSample() const { return m_first; }
    std::size_t endSample() const { return m_end; }
    bool valid() const { return m_plot.width() > 0 && m_plot.height() > 0; }

  private:
    void place(double t0, double t1, double altitudeLow, double altitudeHigh, double velocityLow,
               double velocityHigh, const QFontMetricsF& metrics);

    QRect m_target;
    QRect m_plot;
    PlotMapping m_altitude;
    PlotMapping m_velocity;
    AxisTicks m_timeTicks;
    AxisTicks m_altitudeTicks;
    AxisTicks m_velocityTicks;
    analysis::UnitSystem m_units = analysis::UnitSystem::Metric;
    std::size_t m_first = 0;
    std::size_t m_end = 0;
};

// The visible extent of samples [first, end) of a series, ignoring values that are not
// finite, widened a little so the curve does not touch the frame. [0, 1] when none.
void visibleRange(const std::vector<double>& series, std::size_t first, std::size_t end,
                  double& low, double& high);

}  // namespace tevusb::graph
