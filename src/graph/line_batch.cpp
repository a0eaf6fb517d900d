// SPDX-License-Identifier: MIT
#include "graph/line_batch.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <climits>
#include <cmath>

#include "data/reading.h"
#include "graph/series_scan.h"

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

struct ColumnExtent {
    int firstY;
    int lastY;
    int minY;
    int maxY;
};

// The samples of one pixel column are consecutive, because the column of a sample is a
// monotonic function of its index: gallop and then bisect to the column's last sample.
template <typename ColumnOf>
std::size_t lastInColumn(const ColumnOf& columnOf, std::size_t first, std::size_t n, int x) {
    std::size_t inside = first;
    std::size_t step = 1;
    std::size_t outside = n;
    while (inside + step < n) {
        if (columnOf(inside + step) != x) {
            outside = inside + step;
            break;
        }
        inside += step;
        step *= 2;
    }
    while (outside - inside > 1) {
        const std::size_t mid = inside + (outside - inside) / 2;
        if (columnOf(mid) == x) {
            inside = mid;
        } else {
            outside = mid;
        }
    }
    return inside;
}

// Positions in device pixels: the mapping's exact position times the resolution,
// truncated toward zero like the mapping's own px and py.
template <typename Mapping>
struct DevicePixels {
    const Mapping& mapping;
    double resolution;

    int column(double t) const { return data::truncateToInt(mapping.x(t) * resolution); }
    int row(double v) const { return data::truncateToInt(mapping.y(v) * resolution); }
};

// The pixel rows a column's samples reach. The row is a monotonic function of a finite
// value, so the smallest and largest values give the extremes; a column holding a value
// that is not finite is mapped sample by sample.
template <typename Mapping>
ColumnExtent columnExtent(const DevicePixels<Mapping>& pixels, const std::vector<double>& series,
                          std::size_t first, std::size_t last) {
    ColumnExtent extent{pixels.row(series[first]), pixels.row(series[last]), 0, 0};
    const SeriesExtent scan = scanExtent(series.data() + first, last - first + 1);
    if (scan.finite) {
        const int a = pixels.row(scan.low);
        const int b = pixels.row(scan.high);
        extent.minY = std::min(a, b);
        extent.maxY = std::max(a, b);
        return extent;
    }
    extent.minY = extent.firstY;
    extent.maxY = extent.firstY;
    for (std::size_t j = first; j <= last; ++j) {
        const int y = pixels.row(series[j]);
        extent.minY = std::min(extent.minY, y);
        extent.maxY = std::max(extent.maxY, y);
    }
    return extent;
}

}  // namespace

void LineBatch::add(double x1, double y1, double x2, double y2) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) {
        return;
    }
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

namespace {

// Samples [first, end) of the series, one device-pixel column at a time.
template <typename Mapping>
void addEnvelope(LineBatch& batch, const Mapping& mapping, const std::vector<double>& series,
                 std::size_t first, std::size_t end, double resolution) {
    const std::size_t n = std::min(end, series.size());
    if (n < 2 || first + 1 >= n) {
        return;
    }
    if (!(resolution > 0.0) || !std::isfinite(resolution)) {
        resolution = 1.0;
    }
    const DevicePixels<Mapping> pixels{mapping, resolution};
    const auto columnOf = [&](std::size_t i) {
        return pixels.column(data::reading::timeOfSample(i));
    };
    // Back to units; exact at 1, and a power of two ratio divides without rounding.
    const auto unit = [resolution](int pixel) { return pixel / resolution; };
    bool haveRun = false;
    int lastX = 0;
    int lastY = 0;
    while (first < n) {
        const int x = columnOf(first);
        const std::size_t last = lastInColumn(columnOf, first, n, x);
        const ColumnExtent extent = columnExtent(pixels, series, first, last);
        if (haveRun) {
            batch.add(unit(lastX), unit(lastY), unit(x), unit(extent.firstY));
        }
        if (extent.minY != extent.maxY) {
            batch.add(unit(x), unit(extent.minY), unit(x), unit(extent.maxY));
        }
        haveRun = true;
        lastX = x;
        lastY = extent.lastY;
        first = last + 1;
    }
}

}  // namespace

void LineBatch::addPolyline(const GraphMapping& mapping, const std::vector<double>& series,
                            double resolution) {
    addEnvelope(*this, mapping, series, 0, series.size(), resolution);
}

void LineBatch::addPolyline(const PlotMapping& mapping, const std::vector<double>& series,
                            std::size_t first, std::size_t end, double resolution) {
    addEnvelope(*this, mapping, series, first, end, resolution);
}

double LineBatch::resolutionOf(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    return device != nullptr ? device->devicePixelRatio() : 1.0;
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
