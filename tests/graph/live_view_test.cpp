// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "data/altitude_converter.h"
#include "data/reading.h"
#include "graph/flight_graph.h"
#include "graph/graph_mapping.h"
#include "graph/graph_palette.h"
#include "graph_test_support.h"

namespace tevusb::graph {
namespace {

using testing::colourNear;
using testing::countColour;
using testing::LogCapture;
using testing::opaque;

constexpr QRgb kLiveBg = palette::kLiveBackground;
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kRed = 0xFF0000;

struct LiveViewTest : ::testing::Test {
    LogCapture log;
    data::DataSetStore store;
    surface::DisplaySurface surface;
    FlightGraph graph{store, surface};
    int repaints = 0;

    void SetUp() override {
        surface.setRepaintRequest([this] { ++repaints; });
        ASSERT_TRUE(surface.create(800, 600));
        graph.setClientSize(800, 600);
    }
};

TEST_F(LiveViewTest, WithFewerThanTwoValuesGroundPeakLabelAndGroundTextAreDrawn) {
    for (const int values : {0, 1}) {
        store.fast.clear();
        const int count = data::AltitudeConverter(0).countForAltitude(300.0);
        for (int i = 0; i < values; ++i) {
            store.fast.add(static_cast<std::uint16_t>(count), 0);
        }
        graph.DrawFastSet();
        const QImage image = surface.snapshot();
        const GraphMapping m(graph.scale());
        const int groundY = m.py(0.0);
        EXPECT_EQ(groundY, 550) << values;
        // A 3-pixel blue ground line across the whole width.
        EXPECT_EQ(countColour(image, QRect(0, groundY - 3, 1, 7), kBlue), 3) << values;
        EXPECT_EQ(image.pixel(799, groundY), opaque(kBlue)) << values;
        // "(0 s  0 m)" just above the plot's origin, and "Ground".
        EXPECT_GT(countColour(image, QRect(50, groundY - 30, 90, 20), kBlue), 30) << values;
        EXPECT_GT(countColour(image, QRect(100, groundY - 30, 70, 20), kBlue), 20) << values;
        EXPECT_EQ(countColour(image, image.rect(), kRed), 0) << values;
        EXPECT_EQ(image.pixel(700, 100), opaque(kLiveBg)) << values;
    }
    EXPECT_EQ(repaints, 0);
}

TEST_F(LiveViewTest, TheRangeOfTheLiveSetBecomesTheScale) {
    synthetic::FlightProfile profile;
    profile.readingCount = 300;
    for (const std::uint16_t word : synthetic::flightWords(profile)) {
        store.fast.add(word, 0);
    }
    graph.DrawFastSet();
    const data::GraphScale s = graph.scale();
    EXPECT_EQ(s.xOrigin, 0);
    EXPECT_EQ(s.yOrigin, 0);
    EXPECT_EQ(s.xSpan, 35);
    EXPECT_EQ(s.ySpan, data::truncateToInt(store.fast.maxAltitude));
    EXPECT_GT(s.ySpan, 400);

    const QImage image = surface.snapshot();
    const GraphMapping m(s);
    for (const std::size_t i : {std::size_t{40}, std::size_t{80}, std::size_t{150}}) {
        EXPECT_TRUE(colourNear(image, m.px(i / 10.0), m.py(store.fast.values[i]), kRed, 1)) << i;
    }
    const int labelX = m.px(store.fast.maxTime);
    const int labelY = m.py(store.fast.maxAltitude) - 30;
    EXPECT_GT(countColour(image, QRect(labelX, labelY, 130, 20), kBlue), 40);
    // The set view drawn afterwards keeps the live range until the next ShowSet.
    graph.RedrawGraph();
    EXPECT_EQ(graph.scale().xSpan, 35);
}

TEST_F(LiveViewTest, WithoutABufferTheScaleAndPictureAreLeftAlone) {
    store.fast.add(1000, 0);
    surface.release();
    const data::GraphScale before = graph.scale();
    graph.DrawFastSet();
    EXPECT_EQ(graph.scale().xSpan, before.xSpan);
    EXPECT_EQ(graph.scale().ySpan, before.ySpan);
    EXPECT_FALSE(surface.hasBuffer());
}

TEST_F(LiveViewTest, AFlightThatNeverRisesHasAZeroHeightRangeAndStillDraws) {
    const int ground = data::AltitudeConverter(0).countForAltitude(300.0);
    for (int i = 0; i < 60; ++i) {
        // Slowly sinking: the count rises as the pressure rises.
        store.fast.add(static_cast<std::uint16_t>(ground + i / 4), 0);
    }
    graph.DrawFastSet();
    EXPECT_EQ(graph.scale().ySpan, 0);
    const QImage image = surface.snapshot();
    EXPECT_EQ(image.pixel(10, 550), opaque(kBlue));
    EXPECT_GT(countColour(image, image.rect(), kRed), 0);
}

}  // namespace
}  // namespace tevusb::graph
