// SPDX-License-Identifier: MIT
#pragma once

#include "data/graph_scale.h"

namespace tevusb::graph {

// The linear mapping of time (seconds) and value (metres or km/h) onto buffer pixels,
// with a 50-pixel margin on every side, evaluated in double and truncated toward zero.
// A zero span would divide by zero; it is drawn as a span of one unit instead, so a set
// shorter than a second or a flat curve still lies inside the plot area.
class GraphMapping {
  public:
    static constexpr int kMargin = 50;

    explicit GraphMapping(const data::GraphScale& scale);

    // The exact position, and the pixel column and row (truncated toward zero).
    double x(double t) const;
    double y(double v) const;
    int px(double t) const;
    int py(double v) const;
    int width() const { return m_width; }
    int height() const { return m_height; }

  private:
    double m_xOrigin;
    double m_yOrigin;
    double m_xSpan;
    double m_ySpan;
    double m_plotWidth;
    double m_plotHeight;
    int m_width;
    int m_height;
};

}  // namespace tevusb::graph
