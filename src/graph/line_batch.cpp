#include "graph/line_batch.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <climits>

#include "data/reading.h"

namespace tevusb::graph {

namespace {

// Liang-Barsky: narrows [t0, t1] to where p*t <= q holds along the line.
bool clipEdge(double p, double q, double& t0, double& t1) {
    if (p == 0.0) {
        return q >= 0.0;
    }
    const double r = q / p;
    if (p < 0.0) {
        if (r > t1) {
            return false;
        }
        t0 = std::max(t0, r);
    } else {
        if (r < t0) {
            return false;
        }
        t1 = std::min(t1, r);
    }
    return true;
}

}  // namespace

void LineBatch::add(double x1, double y1, double x2, double y2) {
    if (x1 == x2 && y1 == y2) {
        return;
    }
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double lim = kClipLimit;
    double t0 = 0.0;
    double t1 = 1.0;
    if (!clipEdge(-dx, x1 + lim, t0, t1) || !clipEdge(dx, lim - x1, t0, t1) ||
        !clipEdge(-dy, y1 + lim, t0, t1) || !clipEdge(dy, lim - y1, t0, t1) || t0 > t1) {
        return;
    }
    if (t0 == 0.0 && t1 == 1.0) {
        m_lines.emplace_back(x1, y1, x2, y2);
    } else {
        m_lines.emplace_back(x1 + t0 * dx, y1 + t0 * dy, x1 + t1 * dx, y1 + t1 * dy);
    }
}

void LineBatch::addPolyline(const GraphMapping& mapping, const std::vector<double>& series) {
    if (series.size() < 2) {
        return;
    }
    int runX = mapping.px(data::reading::timeOfSample(0));
    int runMin = mapping.py(series[0]);
    int runMax = runMin;
    int lastY = runMin;
    const auto flushRun = [&] {
        if (runMin != runMax) {
            add(runX, runMin, runX, runMax);
        }
    };
    for (std::size_t i = 1; i < series.size(); ++i) {
        const int x = mapping.px(data::reading::timeOfSample(i));
        const int y = mapping.py(series[i]);
        if (x == runX) {
            runMin = std::min(runMin, y);
            runMax = std::max(runMax, y);
        } else {
            flushRun();
            add(runX, lastY, x, y);
            runX = x;
            runMin = y;
            runMax = y;
        }
        lastY = y;
    }
    flushRun();
}

void LineBatch::draw(QPainter& painter, const QPen& pen) const {
    if (m_lines.empty()) {
        return;
    }
    painter.setPen(pen);
    constexpr std::size_t kChunk = INT_MAX;
    for (std::size_t at = 0; at < m_lines.size(); at += kChunk) {
        const auto count = std::min(kChunk, m_lines.size() - at);
        painter.drawLines(m_lines.data() + at, static_cast<int>(count));
    }
}

}  // namespace tevusb::graph
