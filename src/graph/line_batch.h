// SPDX-License-Identifier: MIT
#pragma once

#include <QLineF>
#include <vector>

#include "graph/graph_mapping.h"
#include "graph/plot_mapping.h"

class QPainter;
class QPen;

namespace tevusb::graph {

// The straight lines of one pen, collected and drawn in one call. Lines are clipped to
// a box far outside any buffer, so a wild value cannot hand the painter coordinates it
// cannot represent; the visible part of a line is unchanged by that clip.
class LineBatch {
  public:
    static constexpr double kClipLimit = 65536.0;

    // Adds a line; lines of zero length draw nothing and are dropped, lines wholly
    // outside the clip box or with a coordinate that is not a number too.
    void add(double x1, double y1, double x2, double y2);

    // Adds the polyline of a series (sample i at i / 10 s). Where several samples share
    // a pixel column the column's vertical extent and the links between neighbouring
    // columns are drawn instead of every segment: the union of the segments is the same.
    // `resolution` is the target's device pixels per unit (resolutionOf): end points fall
    // on device pixels, so a HiDPI curve is as fine as the screen; at 1 they are whole
    // units, the mapping's px and py.
    void addPolyline(const GraphMapping& mapping, const std::vector<double>& series,
                     double resolution = 1.0);
    // The same envelope for samples [first, end) of a series on a plot mapping.
    void addPolyline(const PlotMapping& mapping, const std::vector<double>& series,
                     std::size_t first, std::size_t end, double resolution = 1.0);

    // The device pixels per unit of the painter's device: its device-pixel ratio, 1 for
    // plain images, PDF, printers and SVG.
    static double resolutionOf(const QPainter& painter);

    void draw(QPainter& painter, const QPen& pen) const;

    const std::vector<QLineF>& lines() const { return m_lines; }
    void clear() { m_lines.clear(); }

  private:
    std::vector<QLineF> m_lines;
};

}  // namespace tevusb::graph
