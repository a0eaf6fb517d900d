// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <thread>

#include "graph/graph_palette.h"
#include "support/dialog_fixture.h"
#include "ui/dialogs/live_update.h"

namespace tevusb::ui {
namespace {

using testing::waitUntil;

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

TEST(LiveUpdateTest, OffersWhileADrawIsOnItsWayShareItsFrame) {
    LiveRig rig;
    LiveUpdate live(&rig.graph, &rig.surface);
    live.start();
    // Each round offers ten series and then lets the window thread run once, so a round
    // can post one draw at most, whichever way the rounds fall against the display
    // frames. The very last series is wider than all others, so its frame shows.
    constexpr int kRounds = 40;
    constexpr int kOffersPerRound = 10;
    const data::FastSet last = climbing(500);
    for (int round = 0; round < kRounds; ++round) {
        for (int k = 0; k < kOffersPerRound; ++k) {
            const bool final = round == kRounds - 1 && k == kOffersPerRound - 1;
            live.offer(final ? last : climbing(10 + round * kOffersPerRound + k));
        }
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(waitUntil([&] { return rig.graph.scale().xSpan == last.range.width; }, 2000));
    const int frames = live.framesDrawn();
    EXPECT_GE(frames, 2);  // the first round's at once, the last one's later
    EXPECT_LE(frames, kRounds);
    // With the newest series shown and no offer since, nothing is left to draw.
    waitUntil([] { return false; }, 3 * LiveUpdate::kFrameMs);
    EXPECT_EQ(live.framesDrawn(), frames);
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
