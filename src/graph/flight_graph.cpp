#include "graph/flight_graph.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "data/reading.h"
#include "graph/graph_mapping.h"
#include "graph/graph_palette.h"
#include "graph/live_view.h"
#include "graph/set_view.h"
#include "log/diagnostic_log.h"

namespace tevusb::graph {

namespace {
// Both curves can reach the int limits only through corrupt values; their difference
// must still fit an int.
int clampedSpan(int low, int high) {
    const std::int64_t span = std::int64_t{high} - low;
    return static_cast<int>(std::clamp<std::int64_t>(span, INT_MIN, INT_MAX));
}
}  // namespace

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
    const data::DataSet& set = m_store.current;
    const std::size_t n = set.size();
    int low = INT_MAX;
    int high = INT_MIN;
    const std::size_t fitted = std::min({n, set.smoothedAltitude.size(), set.velocityKmh.size()});
    for (std::size_t i = 0; i < fitted; ++i) {
        const int a = data::truncateToInt(set.smoothedAltitude[i]);
        const int b = data::truncateToInt(set.velocityKmh[i]);
        low = std::min({low, a, b});
        high = std::max({high, a, b});
    }
    data::GraphScale& scale = m_store.scale;
    scale.xOrigin = 0;
    scale.xSpan = static_cast<int>(std::min<std::size_t>(n / 10, INT_MAX));
    if (n == 0) {
        // Nothing is drawn for an empty set; keep a neutral range.
        scale.yOrigin = 0;
        scale.ySpan = 0;
    } else {
        scale.yOrigin = low;
        scale.ySpan = clampedSpan(low, high);
    }
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
