// SPDX-License-Identifier: MIT
#include "report/graph_picture.h"

#include <QPainter>

#include "analysis/flight_statistics.h"
#include "data/reading.h"
#include "graph/analysis_view.h"
#include "graph/graph_mapping.h"
#include "graph/graph_palette.h"
#include "graph/set_scale.h"
#include "graph/set_view.h"

namespace tevusb::report {

namespace {

void drawSetPicture(QPainter& painter, const QSize& size, const data::DataSet& set,
                    analysis::UnitSystem units) {
    painter.fillRect(QRect(QPoint(0, 0), size),
                     QColor::fromRgb(graph::palette::kSetBackground | 0xFF000000u));
    const data::GraphScale scale = graph::fitSetScale(set, size.width(), size.height());
    graph::drawSetView(painter, graph::GraphMapping(scale), set, units);
}

void drawAnalysisPicture(QPainter& painter, const QSize& size, const data::DataSet& set,
                         const GraphOptions& options) {
    graph::AnalysisViewState state;
    if (options.analysisState) {
        state = *options.analysisState;
    } else {
        const std::size_t n = set.size();
        state.window.setFlight(n > 0 ? data::reading::timeOfSample(n - 1) : 0.0);
    }
    graph::drawAnalysisView(painter, QRect(QPoint(0, 0), size), set,
                            analysis::computeStatistics(set), state, options.units);
}

}  // namespace

void drawGraph(QPainter& painter, const QRect& target, const data::DataSet& set,
               const GraphOptions& options) {
    if (target.isEmpty()) {
        return;
    }
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.translate(target.topLeft());
    // The window draws without antialiasing; a picture of it should look the same.
    painter.setRenderHint(QPainter::Antialiasing, false);
    switch (options.view) {
        case GraphView::Set:
            drawSetPicture(painter, target.size(), set, options.units);
            break;
        case GraphView::Analysis:
            drawAnalysisPicture(painter, target.size(), set, options);
            break;
    }
    painter.restore();
}

const char* graphViewName(GraphView view) {
    return view == GraphView::Analysis ? "analysis" : "set";
}

bool parseGraphView(const std::string& text, GraphView& out) {
    if (text == "set") {
        out = GraphView::Set;
        return true;
    }
    if (text == "analysis") {
        out = GraphView::Analysis;
        return true;
    }
    return false;
}

}  // namespace tevusb::report
