// SPDX-License-Identifier: MIT
#include "ui/dialogs/live_update.h"

#include <QTimer>

#include "graph/flight_graph.h"
#include "graph/surface/display_surface.h"

namespace tevusb::ui {

LiveUpdate::LiveUpdate(graph::FlightGraph* graph, surface::DisplaySurface* surface)
    : m_graph(graph), m_surface(surface), m_context(std::make_unique<QObject>()) {}

// The context goes first, so that no queued draw runs on a half-destroyed object.
LiveUpdate::~LiveUpdate() {
    m_context.reset();
}

void LiveUpdate::start() {
    m_active = true;
    m_sinceDraw.invalidate();
}

void LiveUpdate::stop() {
    m_active = false;
}

void LiveUpdate::offer(const data::FastSet& fast) {
    // The copy is a few microseconds and the window thread holds the lock only as long as
    // its own copy takes; a frame then always shows the newest series.
    {
        std::lock_guard lock(m_mutex);
        m_latest = fast;
    }
    if (m_pending.exchange(true)) {
        return;  // a draw is already on its way and will take this copy
    }
    QMetaObject::invokeMethod(
        m_context.get(), [this] { drawPending(); }, Qt::QueuedConnection);
}

void LiveUpdate::drawPending() {
    if (!m_active) {
        m_pending = false;
        return;
    }
    if (m_sinceDraw.isValid() && m_sinceDraw.elapsed() < kFrameMs) {
        const int wait = static_cast<int>(kFrameMs - m_sinceDraw.elapsed());
        QTimer::singleShot(wait, m_context.get(), [this] { drawPending(); });
        return;
    }
    data::FastSet copy;
    {
        std::lock_guard lock(m_mutex);
        copy = m_latest;
    }
    m_pending = false;
    drawNow(copy);
}

void LiveUpdate::drawNow(const data::FastSet& fast) {
    if (m_graph != nullptr) {
        m_graph->DrawFastSet(fast);
        if (m_surface != nullptr) {
            m_surface->PresentGraph();
        }
        ++m_frames;
    }
    m_sinceDraw.start();
}

}  // namespace tevusb::ui
