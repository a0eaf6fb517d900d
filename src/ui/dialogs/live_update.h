// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <atomic>
#include <memory>
#include <mutex>

#include "data/fast_set.h"

namespace tevusb::graph {
class FlightGraph;
}
namespace tevusb::surface {
class DisplaySurface;
}

namespace tevusb::ui {

// The main window's live view during a download. The download worker only hands over a
// copy of the growing series and posts at most one draw at a time; the window thread
// draws at most once per display frame. So drawing never holds up the
// transfer, and a slow redraw only means fewer frames.
class LiveUpdate {
  public:
    static constexpr int kFrameMs = 16;

    // Lives on the window thread; either pointer may be null (then nothing is drawn).
    LiveUpdate(graph::FlightGraph* graph, surface::DisplaySurface* surface);
    ~LiveUpdate();
    LiveUpdate(const LiveUpdate&) = delete;
    LiveUpdate& operator=(const LiveUpdate&) = delete;

    // Window thread: offers are drawn from now on.
    void start();
    // Window thread: offers still queued are dropped.
    void stop();
    bool active() const { return m_active; }

    // Worker thread: the series as it now stands. Costs one copy, never a draw.
    void offer(const data::FastSet& fast);

    // Window thread: draws `fast` now and presents it.
    void drawNow(const data::FastSet& fast);

    int framesDrawn() const { return m_frames.load(); }

  private:
    void drawPending();

    graph::FlightGraph* m_graph;
    surface::DisplaySurface* m_surface;
    std::unique_ptr<QObject> m_context;  // window-thread target of the queued draws
    std::mutex m_mutex;
    data::FastSet m_latest;
    std::atomic<bool> m_pending{false};
    std::atomic<int> m_frames{0};
    bool m_active = false;
    QElapsedTimer m_sinceDraw;
};

}  // namespace tevusb::ui
