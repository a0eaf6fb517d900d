// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <thread>

#include "dialog_fixture.h"
#include "graph/graph_palette.h"
#include "ui/dialogs/live_update.h"

namespace tevusb::ui {
namespace {

using dltest::waitUntil;

data::FastSet climbing(int n) {
    data::FastSet fast;
    for (int i = 0; i < n; ++i) {
        fast.add(static_cast<std::uint16_t>(9000 - 20 * i), 0);
    }
    return fast;
}

struct LiveRig {
    data::DataSetStore store;
    surface::DisplaySurface surface;
    graph::FlightGraph graph{store, surface};
    LiveRig() {
        surface.create(320, 200);
        graph.setClientSize(320, 200);
    }
};

TEST(LiveUpdateTest, ManyOffersFromAWorkerBecomeFewFramesShowingTheLatestSeries) {
    LiveRig rig;
    LiveUpdate live(&rig.graph, &rig.surface);
    live.start();
    const data::FastSet last = climbing(300);
    std::thread worker([&] {
        for (int n = 1; n <= 300; ++n) {
            live.offer(climbing(n));
        }
    });
    // The window thread is busy elsewhere while the worker offers: nothing is drawn yet.
    worker.join();
    EXPECT_EQ(live.framesDrawn(), 0);
    ASSERT_TRUE(waitUntil([&] { return live.framesDrawn() >= 1; }, 2000));
    QThread::msleep(50);
    QCoreApplication::processEvents();
    // All 300 offers were taken in one frame: the one the window thread found waiting.
    EXPECT_EQ(live.framesDrawn(), 1);
    // That frame is the live view (its scale follows the series' range).
    const data::GraphScale scale = rig.graph.scale();
    EXPECT_EQ(scale.xSpan, last.range.width);
}

TEST(LiveUpdateTest, FramesAreAtLeastOneDisplayFrameApart) {
    LiveRig rig;
    LiveUpdate live(&rig.graph, &rig.surface);
    live.start();
    QElapsedTimer clock;
    clock.start();
    int offers = 0;
    while (clock.elapsed() < 200) {
        live.offer(climbing(10 + offers % 50));
        ++offers;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    // 200 ms hold at most 200 / 16 frames, plus the first.
    EXPECT_GE(live.framesDrawn(), 2);
    EXPECT_LE(live.framesDrawn(), 200 / LiveUpdate::kFrameMs + 2);
    EXPECT_GT(offers, live.framesDrawn());
}

TEST(LiveUpdateTest, OffersAfterStopAreNotDrawn) {
    LiveRig rig;
    LiveUpdate live(&rig.graph, &rig.surface);
    live.start();
    live.offer(climbing(20));
    live.stop();
    QThread::msleep(30);
    QCoreApplication::processEvents();
    EXPECT_EQ(live.framesDrawn(), 0);
    // Stopped, a later start draws again.
    live.start();
    live.offer(climbing(20));
    EXPECT_TRUE(waitUntil([&] { return live.framesDrawn() == 1; }, 2000));
}

}  // namespace
}  // namespace tevusb::ui
