// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>

#include "analysis/units.h"
#include "data/data_set.h"

class QPainter;

namespace tevusb::report {

// Which of the window's pictures of a set is drawn.
enum class GraphView { Set };

// The view a report is drawn with unless another is asked for.
inline constexpr GraphView kReportDefaultView = GraphView::Set;

struct GraphOptions {
    GraphView view = GraphView::Set;
    analysis::UnitSystem units = analysis::UnitSystem::Metric;
};

// Draws the graph of `set` into `target` on any paint device, background included, with
// the window's own view code, fitted to the rectangle and clipped to it.
void drawGraph(QPainter& painter, const QRect& target, const data::DataSet& set,
               const GraphOptions& options);

// The view's name on the command line ("set"); parse gives false for anything else.
const char* graphViewName(GraphView view);
bool parseGraphView(const std::string& text, GraphView& out);

}  // namespace tevusb::report
