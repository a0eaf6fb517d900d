// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QPainter>
#include <atomic>
#include <thread>

#include "graph/flight_graph.h"
#include "graph/graph_palette.h"
#include "graph_test_support.h"

namespace tevusb::graph {
namespace {

using testing::countColour;
using testing::opaque;

// The download worker draws both views while the window thread paints, redraws the set
// view and rebuilds the buffer. Every painted picture must be one whole view.
TEST(GraphConcurrency, DrawingAndPresentingFromTwoThreadsNeverShowsAMixedPicture) {
    testing::LogCapture log;
    data::DataSetStore store;
    testing::loadFlight(store, synthetic::FlightProfile{});
    surface::DisplaySurface surface;
    FlightGraph graph(store, surface);
    std::atomic<int> repaints{0};
    surface.setRepaintRequest([&] { ++repaints; });
    ASSERT_TRUE(surface.create(320, 240));
    graph.setClientSize(320, 240);
    ASSERT_TRUE(graph.ShowSet(0));

    const std::vector<std::uint16_t> words = synthetic::flightWords(synthetic::FlightProfile{});
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (std::size_t i = 0; i < 3 * words.size(); ++i) {
            if (i % words.size() == 0) {
                store.fast.clear();
            }
            store.fast.add(words[i % words.size()], 0);
            if (i % 5 == 0) {
                graph.DrawFastSet();
                surface.PresentGraph();
            }
            if (i % 5 == 2) {
                graph.RedrawGraph();  // as when a download ends without packets
            }
        }
        done = true;
    });

    int mixed = 0;
    int frames = 0;
    QImage window(320, 240, QImage::Format_RGB32);
    for (int round = 0; !done || round < 20; ++round) {
        window.fill(Qt::white);
        {
            QPainter painter(&window);
            surface.PresentGraph(painter, 320, 240);
        }
        const int live = countColour(window, window.rect(), palette::kLiveBackground);
        const int set = countColour(window, window.rect(), palette::kSetBackground);
        // The legend is the last thing the set view draws: a set picture without it is
        // half drawn.
        const bool legend = countColour(window, QRect(10, 10, 160, 22), 0xFF0000) > 0;
        mixed += (live > 0 && set > 0) || (set > 0 && !legend) ? 1 : 0;
        ++frames;
        if (round % 7 == 3) {
            graph.RedrawGraph();
        }
        if (round % 11 == 5) {
            surface.release();
            graph.setClientSize(320, 240);
            ASSERT_TRUE(surface.create(320, 240));
        }
    }
    worker.join();
    EXPECT_EQ(mixed, 0);
    EXPECT_GE(frames, 20);
    EXPECT_GT(repaints.load(), 0);
}

}  // namespace
}  // namespace tevusb::graph
