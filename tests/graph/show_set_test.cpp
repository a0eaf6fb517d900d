// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "data/reading.h"
#include "graph/flight_graph.h"
#include "graph/graph_mapping.h"
#include "graph_test_support.h"

namespace tevusb::graph {
namespace {

using testing::LogCapture;

struct ShowSetTest : ::testing::Test {
    LogCapture log;
    data::DataSetStore store;
    surface::DisplaySurface surface;
    FlightGraph graph{store, surface};
};

TEST_F(ShowSetTest, FitsBothCurvesAndLeavesThePartialLastSecondBeyondTheRightEdge) {
    synthetic::FlightProfile profile;
    profile.readingCount = 25;
    testing::loadFlight(store, profile);
    graph.setClientSize(800, 600);
    ASSERT_TRUE(graph.ShowSet(0));
    const data::GraphScale s = graph.scale();
    EXPECT_EQ(s.xOrigin, 0);
    EXPECT_EQ(s.xSpan, 2);
    EXPECT_EQ(s.width, 800);
    EXPECT_EQ(s.height, 600);
    EXPECT_GT(GraphMapping(s).px(2.4), 800 - 50);

    // Every truncated value of both curves lies in the range, and both ends are reached.
    bool lowReached = false;
    bool highReached = false;
    for (std::size_t i = 0; i < store.current.size(); ++i) {
        for (const double v : {store.current.smoothedAltitude[i], store.current.velocityKmh[i]}) {
            const int t = data::truncateToInt(v);
            EXPECT_GE(t, s.yOrigin);
            EXPECT_LE(t, s.yOrigin + s.ySpan);
            lowReached = lowReached || t == s.yOrigin;
            highReached = highReached || t == s.yOrigin + s.ySpan;
        }
    }
    EXPECT_TRUE(lowReached);
    EXPECT_TRUE(highReached);
}

TEST_F(ShowSetTest, VelocityInKmhWidensTheRangeBeyondTheAltitudes) {
    synthetic::FlightProfile profile;
    profile.readingCount = 600;
    profile.apogeeAgl = 300.0;
    testing::loadFlight(store, profile);
    ASSERT_TRUE(graph.ShowSet(0));
    const data::GraphScale s = graph.scale();
    EXPECT_EQ(s.xSpan, 60);
    double lowest = 0.0;
    for (const double v : store.current.velocityKmh) {
        lowest = std::min(lowest, v);
    }
    EXPECT_LT(lowest, -1.0);
    EXPECT_EQ(s.yOrigin, data::truncateToInt(lowest));
}

TEST_F(ShowSetTest, MinusOneChangesNothingAndAMissingSetGivesAnEmptyNeutralRange) {
    testing::loadFlight(store, synthetic::FlightProfile{});
    ASSERT_TRUE(graph.ShowSet(0));
    const data::GraphScale before = graph.scale();
    EXPECT_FALSE(graph.ShowSet(-1));
    EXPECT_EQ(graph.scale().ySpan, before.ySpan);
    EXPECT_EQ(store.current.size(), 600u);

    EXPECT_TRUE(graph.ShowSet(5));
    EXPECT_EQ(store.current.size(), 0u);
    EXPECT_EQ(store.current.setIndex, 5);
    const data::GraphScale empty = graph.scale();
    EXPECT_EQ(empty.xSpan, 0);
    EXPECT_EQ(empty.yOrigin, 0);
    EXPECT_EQ(empty.ySpan, 0);
}

TEST_F(ShowSetTest, ShortAndFlatSetsGetZeroSpans) {
    testing::loadFlatFlight(store, std::vector<std::uint8_t>(7, 0));
    ASSERT_TRUE(graph.ShowSet(0));
    EXPECT_EQ(graph.scale().xSpan, 0);
    EXPECT_EQ(graph.scale().ySpan, 0);
    EXPECT_EQ(graph.scale().yOrigin, 0);
}

}  // namespace
}  // namespace tevusb::graph
