// SPDX-License-Identifier: MIT
#include "graph/live_view.h"

#include <QPainter>
#include <QPen>

#include "graph/graph_palette.h"
#include "graph/graph_text.h"
#include "graph/line_batch.h"

namespace tevusb::graph {

void drawLiveView(QPainter& painter, const GraphMapping& mapping, const data::FastSet& fast) {
    const QPen groundPen(QBrush(QColor::fromRgba(palette::kBlue)), palette::kLiveWidth,
                         Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    const QPen curvePen(QBrush(QColor::fromRgba(palette::kRed)), palette::kLiveWidth, Qt::SolidLine,
                        Qt::FlatCap, Qt::MiterJoin);
    const int groundY = mapping.py(0.0);
    LineBatch batch;
    batch.add(0, groundY, mapping.width(), groundY);
    batch.draw(painter, groundPen);

    batch.clear();
    batch.addPolyline(mapping, fast.values, LineBatch::resolutionOf(painter));
    batch.draw(painter, curvePen);

    const QFont font = labelFont();
    drawLabel(painter, font, mapping.px(fast.maxTime),
              std::int64_t{mapping.py(fast.maxAltitude)} - palette::kLabelLift,
              peakText(fast.maxTime, fast.maxAltitude, "m"), palette::kBlue);
    drawLabel(painter, font, 100, std::int64_t{groundY} - palette::kLabelLift,
              QStringLiteral("Ground"), palette::kBlue);
}

}  // namespace tevusb::graph
