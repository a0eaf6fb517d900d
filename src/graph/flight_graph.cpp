// SPDX-License-Identifier: MIT
#include "graph/flight_graph.h"

#include "data/reading.h"
#include "graph/analysis_view.h"
#include "graph/graph_mapping.h"
#include "graph/graph_palette.h"
#include "graph/live_view.h"
#include "graph/set_scale.h"
#include "graph/set_view.h"
#include "log/diagnostic_log.h"

namespace tevusb::graph {

FlightGraph::FlightGraph(data::DataSetStore& store, surface::DisplaySurface& surface)
    : m_store(store), m_surface(surface) {}

void FlightGraph::setClientSize(int width, int height) {
    std::lock_guard lock(m_mutex);
    m_store.scale.width = width;
    m_store.scale.height = height;
}

bool FlightGraph::ShowSet(int k) {
    std::lock_guard lock(m_mutex);
    if (k == -1) {
        return false;
    }
    m_store.selectSet(k);
    const std::size_t n = m_store.current.size();
    // The statistics and the zoom follow the set; the zoom never touches the scale.
    m_statistics = analysis::computeStatistics(m_store.current);
    m_view.window.setFlight(n > 0 ? data::reading::timeOfSample(n - 1) : 0.0);
    m_view.extraMarkers.clear();
    m_view.simulation.reset();
    data::GraphScale& scale = m_store.scale;
    scale = fitSetScale(m_store.current, scale.width, scale.height);
    return true;
}

void FlightGraph::RedrawGraph() {
    {
        std::lock_guard lock(m_mutex);
        surface::DrawingContext context = m_surface.open();
        if (!context) {
            return;
        }
        if (m_analysisOn) {
            // The analysis view paints every pixel of its target itself; no fill first.
            // Scripts reading the diagnostic stream see the redraw in either view.
            log::logLine("Updating buffer.");
            if (QPainter* painter = context.painter()) {
                const QRect target(QPoint(0, 0), context.size());
                m_layout = drawAnalysisView(*painter, target, m_store.current, m_statistics, m_view,
                                            m_units);
                m_showsAnalysis = true;
            }
        } else {
            m_showsAnalysis = false;
            context.fill(palette::kSetBackground);
            log::logLine("Updating buffer.");
            if (QPainter* painter = context.painter()) {
                drawSetView(*painter, GraphMapping(m_store.scale), m_store.current, m_units);
            }
        }
    }
    m_surface.requestRepaint();
}

void FlightGraph::DrawFastSet() {
    DrawFastSet(m_store.fast);
}

void FlightGraph::DrawFastSet(const data::FastSet& fast) {
    std::lock_guard lock(m_mutex);
    surface::DrawingContext context = m_surface.open();
    if (!context) {
        return;
    }
    m_showsAnalysis = false;
    context.fill(palette::kLiveBackground);
    QPainter* painter = context.painter();
    data::GraphScale& scale = m_store.scale;
    scale.xOrigin = fast.range.x;
    scale.yOrigin = fast.range.y;
    scale.xSpan = fast.range.width;
    scale.ySpan = fast.range.height;
    if (painter != nullptr) {
        drawLiveView(*painter, GraphMapping(scale), fast);
    }
}

data::GraphScale FlightGraph::scale() const {
    std::lock_guard lock(m_mutex);
    return m_store.scale;
}

void FlightGraph::setAnalysisView(bool on) {
    std::lock_guard lock(m_mutex);
    m_analysisOn = on;
}

bool FlightGraph::analysisView() const {
    std::lock_guard lock(m_mutex);
    return m_analysisOn;
}

void FlightGraph::setUnits(analysis::UnitSystem units) {
    std::lock_guard lock(m_mutex);
    m_units = units;
}

analysis::UnitSystem FlightGraph::units() const {
    std::lock_guard lock(m_mutex);
    return m_units;
}

void FlightGraph::changeView(const std::function<void(AnalysisViewState&)>& change) {
    std::lock_guard lock(m_mutex);
    change(m_view);
}

AnalysisViewState FlightGraph::viewState() const {
    std::lock_guard lock(m_mutex);
    return m_view;
}

analysis::FlightStatistics FlightGraph::statistics() const {
    std::lock_guard lock(m_mutex);
    return m_statistics;
}

std::optional<FlightGraph::CursorView> FlightGraph::cursorAt(double x) const {
    std::lock_guard lock(m_mutex);
    if (!m_showsAnalysis || !m_surface.hasBuffer()) {
        return std::nullopt;
    }
    std::optional<ReadoutSample> sample = nearestSample(m_store.current, m_layout, x);
    if (!sample) {
        return std::nullopt;
    }
    sample->launchTimeS = m_statistics.launchTimeS;
    return CursorView{m_layout, *sample};
}

AnalysisLayout FlightGraph::shownLayout() const {
    std::lock_guard lock(m_mutex);
    return m_showsAnalysis ? m_layout : AnalysisLayout();
}

}  // namespace tevusb::graph
