// SPDX-License-Identifier: MIT
// The analysis view drawn from a synthetic flight: markers, readout, and the set view
// coming back unchanged when the analysis view is switched off.
#include <gtest/gtest.h>

#include <QPainter>
#include <atomic>
#include <thread>

#include "graph/analysis_palette.h"
#include "graph/analysis_view.h"
#include "graph/cursor_readout.h"
#include "graph/flight_graph.h"
#include "graph_test_support.h"

namespace tevusb::graph {
namespace {

using analysis::UnitSystem;
using testing::LogCapture;
namespace ap = analysis_palette;

constexpr int kWidth = 1200;
constexpr int kHeight = 700;

struct AnalysisViewTest : ::testing::Test {
    LogCapture log;
    data::DataSetStore store;
    surface::DisplaySurface surface;
    FlightGraph graph{store, surface};

    void SetUp() override {
        synthetic::FlightProfile profile;
        profile.readingCount = 900;
        profile.apogeeAgl = 620.0;
        testing::loadFlight(store, profile);
        ASSERT_TRUE(surface.create(kWidth, kHeight));
        graph.setClientSize(kWidth, kHeight);
        ASSERT_TRUE(graph.ShowSet(0));
    }

    // Draws the view straight into an image, as a report would.
    QImage draw(const analysis::FlightStatistics& stats, const AnalysisViewState& state,
                AnalysisLayout& layout, UnitSystem units = UnitSystem::Metric) const {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        QPainter painter(&image);
        layout = drawAnalysisView(painter, image.rect(), store.current, stats, state, units);
        return image;
    }
};

// Pixels of the colour in the plot's column at time t (one pixel either side).
int columnCount(const QImage& image, const AnalysisLayout& layout, double t, QRgb colour) {
    const int x = layout.altitude().px(t);
    const QRect& plot = layout.plot();
    return testing::countColour(image, QRect(x - 1, plot.top(), 3, plot.height()), colour);
}

TEST_F(AnalysisViewTest, MarkersSitAtTheStatisticsTimesAndMissingOnesAreNotDrawn) {
    analysis::FlightStatistics stats;
    stats.launchTimeS = 10.0;
    stats.apogee = analysis::FlightPoint{250, 25.0, 620.0, 0.0};
    stats.lineA = analysis::LineEvent{{252, 25.2, 619.0, 0.0}, 5};
    stats.lineB = analysis::LineEvent{{600, 60.0, 150.0, -20.0}, 5};
    stats.landingTimeS = 85.0;
    AnalysisViewState state;
    state.window.setFlight(89.9);
    state.extraMarkers.push_back({40.0, QStringLiteral("Emu"), 0xFF00A0A0});
    AnalysisLayout layout;
    const QImage image = draw(stats, state, layout);
    ASSERT_TRUE(layout.valid());
    const int dashes = layout.plot().height() / 4;
    EXPECT_GT(columnCount(image, layout, 10.0, testing::opaque(ap::kPhase)), dashes);
    EXPECT_GT(columnCount(image, layout, 25.0, testing::opaque(ap::kApogee)), dashes);
    EXPECT_GT(columnCount(image, layout, 60.0, testing::opaque(ap::kLineB)), dashes);
    EXPECT_GT(columnCount(image, layout, 85.0, testing::opaque(ap::kPhase)), dashes);
    EXPECT_GT(columnCount(image, layout, 40.0, 0xFF00A0A0), dashes);
    EXPECT_EQ(columnCount(image, layout, 50.0, 0xFF00A0A0), 0);
    // No burnout statistic: its colour appears nowhere.
    EXPECT_EQ(testing::countColour(image, image.rect(), testing::opaque(ap::kBurnout)), 0);

    // Zoomed to 30-50 s: the markers outside are left out, the one inside moves.
    state.window.zoomTo(30.0, 50.0);
    const QImage zoomed = draw(stats, state, layout);
    EXPECT_EQ(testing::countColour(zoomed, layout.plot(), testing::opaque(ap::kApogee)), 0);
    EXPECT_GT(columnCount(zoomed, layout, 40.0, 0xFF00A0A0), dashes);
    EXPECT_NEAR(layout.altitude().px(40.0), layout.plot().center().x(), 2);
}

TEST_F(AnalysisViewTest, AFreshStateShowsTheWholeFlight) {
    analysis::FlightStatistics stats;
    stats.launchTimeS = 10.0;
    AnalysisLayout layout;
    const QImage image = draw(stats, AnalysisViewState{}, layout);
    EXPECT_DOUBLE_EQ(layout.altitude().t0(), 0.0);
    EXPECT_DOUBLE_EQ(layout.altitude().t1(), 89.9);
    EXPECT_EQ(layout.endSample(), 900u);
    EXPECT_GT(columnCount(image, layout, 10.0, testing::opaque(ap::kPhase)),
              layout.plot().height() / 4);
}

TEST_F(AnalysisViewTest, ReadoutNamesTheNearestSampleInTheChosenUnits) {
    graph.setAnalysisView(true);
    graph.RedrawGraph();
    const AnalysisLayout layout = graph.shownLayout();
    ASSERT_TRUE(layout.valid());
    const auto cursor = graph.cursorAt(layout.altitude().x(12.34));
    ASSERT_TRUE(cursor.has_value());
    EXPECT_EQ(cursor->sample.index, 123u);
    EXPECT_DOUBLE_EQ(cursor->sample.altitudeM, store.current.smoothedAltitude[123]);
    EXPECT_DOUBLE_EQ(cursor->sample.velocityMs, store.current.smoothedVelocity[123]);

    // The time says its clock: from the launch the graph's statistics found, or from the
    // start of the recording for a sample without one.
    const auto launch = graph.statistics().launchTimeS;
    ASSERT_TRUE(launch.has_value());
    ASSERT_EQ(cursor->sample.launchTimeS, launch);
    EXPECT_EQ(readoutLines(cursor->sample, UnitSystem::Metric)[0],
              QStringLiteral("Time T+%1 s").arg(12.3 - *launch, 0, 'f', 1));

    ReadoutSample sample{123, 12.3, 512.04, -3.24, true, false, std::nullopt};
    const QStringList metric = readoutLines(sample, UnitSystem::Metric);
    ASSERT_EQ(metric.size(), 4);
    EXPECT_EQ(metric[0], QStringLiteral("Time 12.3 s into the recording"));
    sample.launchTimeS = 2.0;
    EXPECT_EQ(readoutLines(sample, UnitSystem::Imperial)[0], QStringLiteral("Time T+10.3 s"));
    sample.launchTimeS = 13.0;
    EXPECT_EQ(readoutLines(sample, UnitSystem::Metric)[0], QStringLiteral("Time T-0.7 s"));
    sample.launchTimeS.reset();
    EXPECT_EQ(metric[1], QStringLiteral("Altitude 512.0 m"));
    EXPECT_EQ(metric[2], QStringLiteral("Velocity -3.2 m/s"));
    EXPECT_EQ(metric[3], QStringLiteral("Line A on  Line B off"));
    const QStringList imperial = readoutLines(sample, UnitSystem::Imperial);
    EXPECT_EQ(imperial[1], QStringLiteral("Altitude 1679.9 ft"));
    EXPECT_EQ(imperial[2], QStringLiteral("Velocity -10.6 ft/s"));

    // Beyond the plot, and once the buffer holds another view, nothing is read.
    EXPECT_FALSE(graph.cursorAt(layout.plot().left() - 20).has_value());
    EXPECT_FALSE(graph.cursorAt(layout.plot().right() + 20).has_value());
    graph.setAnalysisView(false);
    graph.RedrawGraph();
    EXPECT_FALSE(graph.cursorAt(layout.altitude().x(12.34)).has_value());
}

TEST_F(AnalysisViewTest, ZoomedReadoutStaysOnVisibleSamples) {
    graph.setAnalysisView(true);
    graph.changeView([](AnalysisViewState& s) { s.window.zoomTo(20.05, 21.05); });
    graph.RedrawGraph();
    const AnalysisLayout layout = graph.shownLayout();
    const auto left = graph.cursorAt(layout.plot().left());
    const auto right = graph.cursorAt(layout.plot().right());
    ASSERT_TRUE(left && right);
    EXPECT_EQ(left->sample.index, 201u);
    EXPECT_EQ(right->sample.index, 210u);
}

TEST_F(AnalysisViewTest, SwitchingTheViewOffRestoresTheSetViewPixelForPixel) {
    const data::GraphScale before = graph.scale();
    graph.setAnalysisView(true);
    graph.changeView([](AnalysisViewState& s) {
        s.window.zoomTo(20.0, 30.0);
        s.extraMarkers.push_back({22.0, QStringLiteral("x"), 0xFF000000});
    });
    graph.RedrawGraph();
    const QImage analysisPicture = surface.snapshot();
    graph.setAnalysisView(false);
    graph.RedrawGraph();
    const QImage restored = surface.snapshot();

    // A graph that never saw the analysis view draws the same set.
    data::DataSetStore freshStore;
    testing::loadFlight(freshStore, [] {
        synthetic::FlightProfile p;
        p.readingCount = 900;
        p.apogeeAgl = 620.0;
        return p;
    }());
    surface::DisplaySurface freshSurface;
    ASSERT_TRUE(freshSurface.create(kWidth, kHeight));
    FlightGraph fresh(freshStore, freshSurface);
    fresh.setClientSize(kWidth, kHeight);
    fresh.ShowSet(0);
    fresh.RedrawGraph();
    EXPECT_TRUE(restored == freshSurface.snapshot());
    EXPECT_FALSE(analysisPicture == restored);

    const data::GraphScale after = graph.scale();
    EXPECT_EQ(after.xOrigin, before.xOrigin);
    EXPECT_EQ(after.xSpan, before.xSpan);
    EXPECT_EQ(after.yOrigin, before.yOrigin);
    EXPECT_EQ(after.ySpan, before.ySpan);
}

TEST_F(AnalysisViewTest, ShowingAnotherFlightClearsZoomAndExtraMarkers) {
    graph.changeView([](AnalysisViewState& s) {
        s.window.zoomTo(20.0, 30.0);
        s.extraMarkers.push_back({22.0, QStringLiteral("x"), 0xFF000000});
    });
    ASSERT_TRUE(graph.ShowSet(0));
    const AnalysisViewState state = graph.viewState();
    EXPECT_FALSE(state.window.zoomed());
    EXPECT_DOUBLE_EQ(state.window.end(), 89.9);
    EXPECT_TRUE(state.extraMarkers.empty());
}

TEST_F(AnalysisViewTest, EmptyFlatAndTinyTargetsDrawWithoutCurvesOrCrashes) {
    AnalysisViewState state;
    analysis::FlightStatistics stats;
    const data::DataSet empty;
    QImage image(300, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    const AnalysisLayout layout =
        drawAnalysisView(painter, image.rect(), empty, stats, state, UnitSystem::Imperial);
    EXPECT_TRUE(layout.valid());
    EXPECT_FALSE(nearestSample(empty, layout, layout.plot().center().x()).has_value());
    // No curve in the plot (the axis title beside it is written in the curve's colour).
    EXPECT_EQ(testing::countColour(image, layout.plot(), testing::opaque(ap::kAltitude)), 0);
    // The empty plot carries its explanation in the middle.
    EXPECT_GT(testing::countColour(image, layout.plot().adjusted(40, 40, -40, -40),
                                   testing::opaque(ap::kText)),
              0);
    const AnalysisLayout tiny = drawAnalysisView(painter, QRect(0, 0, 30, 20), store.current, stats,
                                                 state, UnitSystem::Metric);
    EXPECT_FALSE(tiny.valid());

    testing::loadFlatFlight(store, std::vector<std::uint8_t>(40, 2));
    ASSERT_TRUE(graph.ShowSet(0));
    graph.setAnalysisView(true);
    graph.RedrawGraph();
    const AnalysisLayout flat = graph.shownLayout();
    ASSERT_TRUE(flat.valid());
    EXPECT_GE(flat.altitudeTicks().values.size(), 2u);
    const auto cursor = graph.cursorAt(flat.plot().center().x());
    ASSERT_TRUE(cursor.has_value());
    EXPECT_TRUE(cursor->sample.lineA);
    EXPECT_FALSE(cursor->sample.lineB);
}

TEST_F(AnalysisViewTest, LineBarsShowWhileEachLineIsOn) {
    std::vector<std::uint8_t> flags(50, 0);
    std::fill(flags.begin() + 10, flags.begin() + 20, 2);  // Line A 1.0-2.0 s
    std::fill(flags.begin() + 20, flags.begin() + 30, 1);  // Line B 2.0-3.0 s
    std::fill(flags.begin() + 30, flags.begin() + 35, 3);  // both 3.0-3.5 s
    testing::loadFlatFlight(store, flags);
    ASSERT_TRUE(graph.ShowSet(0));
    graph.setAnalysisView(true);
    graph.RedrawGraph();
    const QImage image = surface.snapshot();
    const AnalysisLayout layout = graph.shownLayout();
    const int rowA = layout.plot().bottom() - 3;
    const int rowB = layout.plot().bottom() - 8;
    const auto at = [&](double t, int row) {
        return image.pixel(layout.altitude().px(t), row) | 0xFF000000u;
    };
    const QRgb red = testing::opaque(ap::kLineA);
    const QRgb blue = testing::opaque(ap::kLineB);
    EXPECT_NE(at(0.5, rowA), red);
    EXPECT_NE(at(0.5, rowB), blue);
    EXPECT_EQ(at(1.5, rowA), red);
    EXPECT_NE(at(1.5, rowB), blue);
    EXPECT_NE(at(2.5, rowA), red);
    EXPECT_EQ(at(2.5, rowB), blue);
    EXPECT_EQ(at(3.2, rowA), red);
    EXPECT_EQ(at(3.2, rowB), blue);
    EXPECT_NE(at(4.2, rowA), red);
    EXPECT_NE(at(4.2, rowB), blue);
}

// A worker redraws (as the settings dialogs do) and draws the live view while the window
// thread reads the cursor and zooms: every readout comes from one whole analysis view.
TEST_F(AnalysisViewTest, ReadoutAndZoomOnTheWindowThreadWhileAWorkerRedraws) {
    graph.setAnalysisView(true);
    graph.RedrawGraph();
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 60; ++i) {
            if (i % 10 == 9) {
                graph.DrawFastSet();
            }
            graph.RedrawGraph();
        }
        done = true;
    });
    int readouts = 0;
    while (!done) {
        graph.changeView([](AnalysisViewState& s) { s.window.zoomAround(30.0, 0.9); });
        if (const auto cursor = graph.cursorAt(kWidth / 2.0)) {
            EXPECT_TRUE(cursor->layout.valid());
            EXPECT_LT(cursor->sample.index, store.current.size());
            ++readouts;
        }
    }
    worker.join();
    graph.RedrawGraph();
    EXPECT_TRUE(graph.cursorAt(kWidth / 2.0).has_value());
    EXPECT_GE(graph.viewState().window.span(), TimeWindow::kMinSpanS);
    RecordProperty("readouts", readouts);
}

}  // namespace
}  // namespace tevusb::graph
