// SPDX-License-Identifier: MIT
#pragma once

#include <QRectF>

namespace tevusb::graph {

// Maps time (s) and one value axis (SI units) linearly onto a plot rectangle, time to
// the right and values upwards. A zero or reversed range is drawn as a range of one.
class PlotMapping {
  public:
    PlotMapping() = default;
    PlotMapping(const QRectF& plot, double t0, double t1, double v0, double v1);

    double x(double t) const { return m_left + (t - m_t0) * m_xScale; }
    double y(double v) const { return m_bottom - (v - m_v0) * m_yScale; }
    // The pixel column and row, truncated like the set view's mapping; wild values are
    // clamped rather than overflowing.
    int px(double t) const;
    int py(double v) const;
    // The time at pixel column x.
    double timeAt(double x) const;

    double t0() const { return m_t0; }
    double t1() const { return m_t1; }
    double v0() const { return m_v0; }
    double v1() const { return m_v1; }

  private:
    double m_left = 0.0;
    double m_bottom = 0.0;
    double m_t0 = 0.0;
    double m_t1 = 1.0;
    double m_v0 = 0.0;
    double m_v1 = 1.0;
    double m_xScale = 1.0;
    double m_yScale = 1.0;
};

}  // namespace tevusb::graph
