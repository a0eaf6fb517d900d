// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <optional>
#include <string>

#include "analysis/units.h"
#include "data/data_set.h"
#include "graph/analysis_view_state.h"

class QPainter;

namespace tevusb::report {

// Which of the window's pictures of a set is drawn.
enum class GraphView { Set, Analysis };

// The view a report is drawn with unless another is asked for.
inline constexpr GraphView kReportDefaultView = GraphView::Analysis;

struct GraphOptions {
    GraphView view = GraphView::Set;
    analysis::UnitSystem units = analysis::UnitSystem::Metric;
    // The analysis view's zoom and extra markers as the window has them; without one the
    // whole flight is drawn, with no extra markers.
    std::optional<graph::AnalysisViewState> analysisState;
};

// Draws the graph of `set` into `target` on any paint device, background included, with
// the window's own view code, fitted to the rectangle and clipped to it.
void drawGraph(QPainter& painter, const QRect& target, const data::DataSet& set,
               const GraphOptions& options);

// "set" / "analysis", as the command line names them; parse gives false for anything else.
const char* graphViewName(GraphView view);
bool parseGraphView(const std::string& text, GraphView& out);

}  // namespace tevusb::report
