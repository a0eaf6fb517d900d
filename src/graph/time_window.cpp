// SPDX-License-Identifier: MIT
#include "graph/time_window.h"

#include <algorithm>
#include <cmath>

namespace tevusb::graph {

void TimeWindow::setFlight(double durationS) {
    m_duration = std::isfinite(durationS) && durationS > 0.0 ? durationS : 0.0;
    reset();
}

bool TimeWindow::zoomed() const {
    return m_start > 0.0 || m_end < m_duration;
}

double TimeWindow::minSpan() const {
    return std::min(kMinSpanS, m_duration);
}

void TimeWindow::place(double start, double span) {
    span = std::clamp(span, minSpan(), m_duration);
    start = std::clamp(start, 0.0, m_duration - span);
    m_start = start;
    m_end = start + span;
}

void TimeWindow::zoomAround(double t, double factor) {
    if (!std::isfinite(t) || !std::isfinite(factor) || factor <= 0.0) {
        return;
    }
    t = std::clamp(t, m_start, m_end);
    const double before = span();
    const double after = std::clamp(before * factor, minSpan(), m_duration);
    // The same fraction of the window stays left of t before and after.
    const double fraction = before > 0.0 ? (t - m_start) / before : 0.5;
    place(t - fraction * after, after);
}

void TimeWindow::zoomTo(double t0, double t1) {
    if (!std::isfinite(t0) || !std::isfinite(t1)) {
        return;
    }
    if (t1 < t0) {
        std::swap(t0, t1);
    }
    const double span = std::max(t1 - t0, minSpan());
    place((t0 + t1) / 2.0 - span / 2.0, span);
}

void TimeWindow::pan(double dt) {
    if (!std::isfinite(dt)) {
        return;
    }
    place(m_start + dt, span());
}

void TimeWindow::reset() {
    m_start = 0.0;
    m_end = m_duration;
}

}  // namespace tevusb::graph
