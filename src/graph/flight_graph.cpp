#include "graph/flight_graph.h"

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
        context.fill(palette::kSetBackground);
        log::logLine("Updating buffer.");
        if (QPainter* painter = context.painter()) {
            drawSetView(*painter, GraphMapping(m_store.scale), m_store.current);
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

}  // namespace tevusb::graph
