// SPDX-License-Identifier: MIT
#include "graph/graph_mapping.h"

#include "data/reading.h"

namespace tevusb::graph {

namespace {
double spanOrOne(int span) {
    return span == 0 ? 1.0 : static_cast<double>(span);
}
}  // namespace

GraphMapping::GraphMapping(const data::GraphScale& scale)
    : m_xOrigin(scale.xOrigin),
      m_yOrigin(scale.yOrigin),
      m_xSpan(spanOrOne(scale.xSpan)),
      m_ySpan(spanOrOne(scale.ySpan)),
      m_plotWidth(static_cast<double>(scale.width) - 2 * kMargin),
      m_plotHeight(static_cast<double>(scale.height) - 2 * kMargin),
      m_width(scale.width),
      m_height(scale.height) {}

double GraphMapping::x(double t) const {
    return (t - m_xOrigin) * m_plotWidth / m_xSpan + kMargin;
}

double GraphMapping::y(double v) const {
    return m_height - (v - m_yOrigin) * m_plotHeight / m_ySpan - kMargin;
}

int GraphMapping::px(double t) const {
    return data::truncateToInt(x(t));
}

int GraphMapping::py(double v) const {
    return data::truncateToInt(y(v));
}

}  // namespace tevusb::graph
