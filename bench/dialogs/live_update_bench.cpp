// SPDX-License-Identifier: MIT
// The live view's frame pacing: a worker offers the growing series as fast as it can for
// a second while the window thread runs its event loop. Goal: frames at least one display
// frame (LiveUpdate::kFrameMs) apart, and far fewer frames than offers.

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "bench_util.h"
#include "graph/flight_graph.h"
#include "graph/surface/display_surface.h"
#include "log/diagnostic_log.h"
#include "ui/dialogs/live_update.h"

namespace {

using namespace tevusb;

constexpr int kRunMs = 1000;

data::FastSet climbing(int n) {
    data::FastSet fast;
    for (int i = 0; i < n; ++i) {
        fast.add(static_cast<std::uint16_t>(9000 - 20 * (i % 400)), 0);
    }
    return fast;
}

// Notes when each frame has been drawn: right after the event that drew it, so the gaps
// between frames are measured as the limiter sees them (from the end of one draw).
class FrameClock : public QApplication {
  public:
    using QApplication::QApplication;
    const ui::LiveUpdate* live = nullptr;
    QElapsedTimer clock;
    std::vector<double> frameAtMs;

    bool notify(QObject* receiver, QEvent* event) override {
        const bool result = QApplication::notify(receiver, event);
        if (live != nullptr && live->framesDrawn() != static_cast<int>(frameAtMs.size())) {
            frameAtMs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
        return result;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    FrameClock app(argc, argv);
    log::DiagnosticLog::instance().setSink(nullptr);  // the store's progress lines
    data::DataSetStore store;
    surface::DisplaySurface surface;
    surface.create(640, 400);
    graph::FlightGraph graph(store, surface);
    graph.setClientSize(640, 400);
    ui::LiveUpdate live(&graph, &surface);
    live.start();

    std::atomic<bool> stop{false};
    std::atomic<int> offers{0};
    std::thread worker([&] {
        for (int n = 1; !stop; ++n) {
            live.offer(climbing(1 + n % 3000));
            ++offers;
        }
    });
    app.clock.start();
    app.live = &live;
    while (app.clock.elapsed() < kRunMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    stop = true;
    worker.join();
    live.stop();
    app.live = nullptr;
    const std::vector<double>& frameAtMs = app.frameAtMs;

    double shortest = kRunMs;
    for (std::size_t i = 1; i < frameAtMs.size(); ++i) {
        shortest = std::min(shortest, frameAtMs[i] - frameAtMs[i - 1]);
    }
    std::printf("%d offers, %d frames in %d ms\n", offers.load(), live.framesDrawn(), kRunMs);
    if (frameAtMs.size() < 2) {
        std::fprintf(stderr, "fewer than two frames drawn\n");
        return 1;
    }
    bench::reportAtLeast("shortest gap between two live frames", shortest,
                         ui::LiveUpdate::kFrameMs);
    const double mostFrames = kRunMs / static_cast<double>(ui::LiveUpdate::kFrameMs) + 1.0;
    std::printf("%-58s %10d     goal <= %6.0f     ratio %.3f %s\n", "live frames in one second",
                live.framesDrawn(), mostFrames, live.framesDrawn() / mostFrames,
                live.framesDrawn() <= mostFrames ? "ok" : "OVER");
    return 0;
}
