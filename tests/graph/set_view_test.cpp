// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QPainter>

#include "graph/flight_graph.h"
#include "graph/graph_mapping.h"
#include "graph/graph_palette.h"
#include "graph/graph_text.h"
#include "graph/set_view.h"
#include "graph_test_support.h"

namespace tevusb::graph {
namespace {

using testing::colourNear;
using testing::countColour;
using testing::LogCapture;

constexpr QRgb kSetBg = palette::kSetBackground;
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kGreen = 0x008000;

struct SetViewTest : ::testing::Test {
    LogCapture log;
    data::DataSetStore store;
    surface::DisplaySurface surface;
    FlightGraph graph{store, surface};
    int repaints = 0;

    void SetUp() override {
        surface.setRepaintRequest([this] { ++repaints; });
    }

    QImage show(int w, int h, int set = 0) {
        EXPECT_TRUE(surface.create(w, h));
        graph.setClientSize(w, h);
        EXPECT_TRUE(graph.ShowSet(set));
        graph.RedrawGraph();
        return surface.snapshot();
    }
};

TEST_F(SetViewTest, EmptySetDrawsTheBackgroundOnlyAndAsksForARepaint) {
    const QImage image = show(640, 480);
    EXPECT_EQ(countColour(image, image.rect(), kSetBg), 640 * 480);
    EXPECT_NE(log.text().find("Updating buffer.\n"), std::string::npos);
    EXPECT_EQ(repaints, 1);
}

TEST_F(SetViewTest, WithoutABufferNothingIsDrawnLoggedOrRepainted) {
    testing::loadFlight(store, synthetic::FlightProfile{});
    graph.setClientSize(640, 480);
    ASSERT_TRUE(graph.ShowSet(0));
    const std::string before = log.text();
    graph.RedrawGraph();
    EXPECT_EQ(log.text(), before);
    EXPECT_EQ(repaints, 0);
    EXPECT_FALSE(surface.hasBuffer());
}

TEST_F(SetViewTest, FlightShowsGroundCurvesAndLegendInTheirColours) {
    synthetic::FlightProfile profile;
    profile.readingCount = 900;
    testing::loadFlight(store, profile);
    const QImage image = show(1280, 720);
    const GraphMapping m(graph.scale());
    const data::DataSet& set = store.current;
    const int groundY = m.py(0.0);

    // Corners away from every label keep the background.
    EXPECT_EQ(image.pixel(1275, 5), testing::opaque(kSetBg));
    EXPECT_EQ(image.pixel(1275, 715), testing::opaque(kSetBg));
    // The ground line runs from the left edge, left of the curves' start.
    EXPECT_EQ(image.pixel(0, groundY), testing::opaque(kBlue));
    EXPECT_EQ(image.pixel(30, groundY), testing::opaque(kBlue));
    EXPECT_NE(image.pixel(30, groundY + 3), testing::opaque(kBlue));

    // Curves at computed points of the coast, where the two are far apart.
    for (const std::size_t i : {std::size_t{150}, std::size_t{220}, std::size_t{400}}) {
        const double t = i / 10.0;
        EXPECT_TRUE(colourNear(image, m.px(t), m.py(set.smoothedAltitude[i]), kRed)) << i;
        EXPECT_TRUE(colourNear(image, m.px(t), m.py(set.velocityKmh[i]), kGreen)) << i;
    }

    // Legend texts in their colours, at their places.
    EXPECT_GT(countColour(image, QRect(10, 10, 160, 22), kRed), 30);
    EXPECT_GT(countColour(image, QRect(10, 50, 220, 22), kGreen), 30);
    EXPECT_GT(countColour(image, QRect(10, 90, 120, 22), kBlue), 30);
    EXPECT_GT(countColour(image, QRect(100, groundY - 30, 70, 22), kBlue), 20);
    EXPECT_EQ(countColour(image, QRect(0, 0, 10, 130), kRed), 0);
}

TEST_F(SetViewTest, PeakLabelsSitAboveThePeakAltitudeAndThePeakVelocityInKmh) {
    synthetic::FlightProfile profile;
    profile.readingCount = 900;
    testing::loadFlight(store, profile);
    const QImage image = show(1280, 720);
    const GraphMapping m(graph.scale());
    const data::DataSet& set = store.current;

    const int j = peakIndex(set.altitudeAgl);
    const float tAlt = static_cast<float>(j) / 10.0f;
    const int altX = m.px(tAlt);
    const int altY = m.py(static_cast<float>(set.altitudeAgl[static_cast<std::size_t>(j)])) - 30;
    EXPECT_GT(countColour(image, QRect(altX, altY, 140, 20), kBlue), 40);
    EXPECT_EQ(countColour(image, QRect(altX - 40, altY, 38, 20), kBlue), 0);

    const int v = peakIndex(set.velocity);
    const float kmh = static_cast<float>(set.velocity[static_cast<std::size_t>(v)] * 3.6);
    const int velX = m.px(static_cast<float>(v) / 10.0f);
    const int velY = m.py(kmh) - 30;
    EXPECT_GT(countColour(image, QRect(velX, velY, 140, 20), kBlue), 40);
    // The label is placed on the km/h scale, close to the top of the green curve.
    double topKmh = 0.0;
    for (const double x : set.velocityKmh) {
        topKmh = std::max(topKmh, x);
    }
    EXPECT_LT(std::abs(m.py(kmh) - m.py(topKmh)), 60);
}

TEST_F(SetViewTest, PeakLabelsReadInTheChosenUnitsWhileMetricStaysAsDesigned) {
    synthetic::FlightProfile profile;
    profile.readingCount = 900;
    testing::loadFlight(store, profile);
    const QImage metric = show(1280, 720);
    const data::DataSet& set = store.current;
    const int j = peakIndex(set.altitudeAgl);
    const int v = peakIndex(set.velocity);
    const float tAlt = static_cast<float>(j) / 10.0f;
    const float h = static_cast<float>(set.altitudeAgl[static_cast<std::size_t>(j)]);
    const float kmh = static_cast<float>(set.velocity[static_cast<std::size_t>(v)] * 3.6);

    const auto asDesigned = peakLabels(set, analysis::UnitSystem::Metric);
    ASSERT_EQ(asDesigned.size(), 2u);
    EXPECT_EQ(asDesigned[0].text, peakText(tAlt, h, "m"));
    EXPECT_EQ(asDesigned[1].text, peakText(static_cast<float>(v) / 10.0f, kmh, "km/h"));

    const auto imperial = peakLabels(set, analysis::UnitSystem::Imperial);
    ASSERT_EQ(imperial.size(), 2u);
    EXPECT_EQ(imperial[0].text, peakText(tAlt, static_cast<float>(h / 0.3048), "ft"));
    EXPECT_TRUE(imperial[1].text.endsWith(" mph)")) << imperial[1].text.toStdString();
    // The labels stay over the curves, which are drawn as designed in either system.
    EXPECT_EQ(imperial[0].value, asDesigned[0].value);
    EXPECT_EQ(imperial[1].value, asDesigned[1].value);

    graph.setUnits(analysis::UnitSystem::Imperial);
    const QImage feet = show(1280, 720);
    EXPECT_NE(feet, metric) << "the labels read differently";
    graph.setUnits(analysis::UnitSystem::Metric);
    EXPECT_EQ(show(1280, 720), metric) << "back to the designed picture, pixel for pixel";
}

TEST_F(SetViewTest, BarsMarkIntervalsWhereExactlyOneLineFired) {
    std::vector<std::uint8_t> flags(400, 0);
    for (int i = 100; i < 120; ++i) {
        flags[static_cast<std::size_t>(i)] = 2;  // Line A
    }
    for (int i = 200; i < 220; ++i) {
        flags[static_cast<std::size_t>(i)] = 1;  // Line B
    }
    for (int i = 300; i < 320; ++i) {
        flags[static_cast<std::size_t>(i)] = 3;  // both: no bar
    }
    testing::loadFlatFlight(store, flags);
    const QImage image = show(1000, 600);
    const GraphMapping m(graph.scale());
    const int groundY = m.py(0.0);
    const auto barX = [&](int i) { return m.px(i / 10.0) + 8; };

    for (const int dy : {-5, 5}) {
        EXPECT_EQ(image.pixel(barX(110), groundY + dy), testing::opaque(kRed)) << dy;
        EXPECT_EQ(image.pixel(barX(210), groundY + dy), testing::opaque(kBlue)) << dy;
        EXPECT_EQ(image.pixel(barX(310), groundY + dy), testing::opaque(kSetBg)) << dy;
        EXPECT_EQ(image.pixel(barX(50), groundY + dy), testing::opaque(kSetBg)) << dy;
    }
    // A bar spans from the sample before the first flagged one to the last flagged one.
    EXPECT_EQ(image.pixel(barX(99) + 1, groundY + 5), testing::opaque(kRed));
    EXPECT_EQ(image.pixel(barX(99) - 2, groundY + 5), testing::opaque(kSetBg));
    EXPECT_EQ(image.pixel(barX(119) - 2, groundY + 5), testing::opaque(kRed));
    EXPECT_EQ(image.pixel(barX(119) + 2, groundY + 5), testing::opaque(kSetBg));
    // Line bars are 15 pixels thick.
    EXPECT_EQ(countColour(image, QRect(barX(110), 0, 1, 600), kRed), 15);
}

TEST_F(SetViewTest, LegendNamesTheSetCountingFromOne) {
    testing::loadFlatFlight(store, std::vector<std::uint8_t>(40, 0));
    store.packets.push_back(store.packets.front());
    const QImage first = show(600, 400, 0);
    const QImage second = show(600, 400, 1);

    const auto reference = [](const QString& text) {
        QImage image(600, 400, QImage::Format_RGB32);
        image.fill(testing::opaque(kSetBg));
        QPainter painter(&image);
        drawLabel(painter, labelFont(), 10, 90, text, palette::kBlue);
        return image.copy(0, 85, 200, 30);
    };
    EXPECT_EQ(first.copy(0, 85, 200, 30), reference(QStringLiteral("Data set: 1")));
    EXPECT_EQ(second.copy(0, 85, 200, 30), reference(QStringLiteral("Data set: 2")));
}

TEST(PeakIndex, TheFirstOfEqualMaximaWins) {
    EXPECT_EQ(peakIndex({}), -1);
    EXPECT_EQ(peakIndex({5.0}), 0);
    EXPECT_EQ(peakIndex({1.0, 7.0, 3.0, 7.0, 2.0}), 1);
    EXPECT_EQ(peakIndex({-3.0, -1.0, -1.0}), 1);
}

}  // namespace
}  // namespace tevusb::graph
