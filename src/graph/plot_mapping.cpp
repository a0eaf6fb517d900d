// SPDX-License-Identifier: MIT
#include "graph/plot_mapping.h"

#include <cmath>

#include "data/reading.h"

namespace tevusb::graph {

namespace {
double rangeOrOne(double low, double high) {
    const double range = high - low;
    return std::isfinite(range) && range > 0.0 ? range : 1.0;
}
}  // namespace

PlotMapping::PlotMapping(const QRectF& plot, double t0, double t1, double v0, double v1)
    : m_left(plot.left()),
      m_bottom(plot.bottom()),
      m_t0(t0),
      m_t1(t1),
      m_v0(v0),
      m_v1(v1),
      m_xScale(plot.width() / rangeOrOne(t0, t1)),
      m_yScale(plot.height() / rangeOrOne(v0, v1)) {}

int PlotMapping::px(double t) const {
    return data::truncateToInt(x(t));
}

int PlotMapping::py(double v) const {
    return data::truncateToInt(y(v));
}

double PlotMapping::timeAt(double px) const {
    return m_t0 + (px - m_left) / m_xScale;
}

}  // namespace tevusb::graph
