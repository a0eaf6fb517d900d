// SPDX-License-Identifier: MIT
// The analysis view's time window and axis ticks: pure arithmetic, no drawing.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <cmath>

#include "graph/axis_ticks.h"
#include "graph/time_window.h"

namespace tevusb::graph {
namespace {

TEST(TimeWindowTest, WheelZoomKeepsTheTimeUnderTheCursorAndStopsAtOneSecond) {
    TimeWindow w;
    w.setFlight(100.0);
    EXPECT_FALSE(w.zoomed());
    w.zoomAround(25.0, 0.5);
    EXPECT_DOUBLE_EQ(w.start(), 12.5);
    EXPECT_DOUBLE_EQ(w.end(), 62.5);
    EXPECT_TRUE(w.zoomed());
    for (int i = 0; i < 40; ++i) {
        w.zoomAround(25.0, 0.5);
    }
    EXPECT_DOUBLE_EQ(w.span(), TimeWindow::kMinSpanS);
    EXPECT_LE(w.start(), 25.0);
    EXPECT_GE(w.end(), 25.0);
    // Zooming out never shows time outside the flight, even from near an end.
    w.zoomAround(99.0, 1e6);
    EXPECT_DOUBLE_EQ(w.start(), 0.0);
    EXPECT_DOUBLE_EQ(w.end(), 100.0);
    w.zoomAround(NAN, 0.5);
    w.zoomAround(50.0, 0.0);
    EXPECT_DOUBLE_EQ(w.span(), 100.0);
}

TEST(TimeWindowTest, RectanglePanAndHomeStayInsideTheFlight) {
    TimeWindow w;
    w.setFlight(60.0);
    w.zoomTo(40.0, 30.0);
    EXPECT_DOUBLE_EQ(w.start(), 30.0);
    EXPECT_DOUBLE_EQ(w.end(), 40.0);
    // A sliver of a drag becomes the smallest span around its middle.
    w.zoomTo(50.0, 50.2);
    EXPECT_NEAR(w.start(), 49.6, 1e-9);
    EXPECT_NEAR(w.end(), 50.6, 1e-9);
    w.zoomTo(59.9, 70.0);
    EXPECT_DOUBLE_EQ(w.end(), 60.0);
    w.zoomTo(20.0, 30.0);
    w.pan(-1000.0);
    EXPECT_DOUBLE_EQ(w.start(), 0.0);
    EXPECT_DOUBLE_EQ(w.span(), 10.0);
    w.pan(1000.0);
    EXPECT_DOUBLE_EQ(w.end(), 60.0);
    EXPECT_DOUBLE_EQ(w.span(), 10.0);
    w.reset();
    EXPECT_FALSE(w.zoomed());
    EXPECT_DOUBLE_EQ(w.span(), 60.0);
}

TEST(TimeWindowTest, AFlightShorterThanASecondAndAnEmptyOneNeverLeaveTheirSpan) {
    TimeWindow w;
    w.setFlight(0.4);
    w.zoomAround(0.2, 0.1);
    EXPECT_DOUBLE_EQ(w.span(), 0.4);
    w.pan(1.0);
    EXPECT_DOUBLE_EQ(w.start(), 0.0);
    w.setFlight(0.0);
    w.zoomTo(3.0, 5.0);
    w.pan(2.0);
    EXPECT_DOUBLE_EQ(w.start(), 0.0);
    EXPECT_DOUBLE_EQ(w.end(), 0.0);
}

struct TickCase {
    double span;
    double step;
    std::size_t count;
    const char* last;
};

TEST(AxisTicksTest, StepsFollowOneTwoFiveForSmallAndLargeSpans) {
    // Times of 0.3 s, 12 s, 400 s and heights of 5 m, 700 m, 30000 m.
    const TickCase cases[] = {
        {0.3, 0.05, 7, "0.30"}, {12.0, 2.0, 7, "12"},     {400.0, 50.0, 9, "400"},
        {5.0, 1.0, 6, "5"},     {700.0, 100.0, 8, "700"}, {30000.0, 5000.0, 7, "30000"},
    };
    for (const TickCase& c : cases) {
        SCOPED_TRACE(c.span);
        const AxisTicks ticks = axisTicks(0.0, c.span, 8);
        EXPECT_NEAR(ticks.step, c.step, c.step * 1e-9);
        ASSERT_EQ(ticks.values.size(), c.count);
        EXPECT_GE(ticks.values.size(), 5u);
        EXPECT_LE(ticks.values.size(), 10u);
        EXPECT_EQ(ticks.label(ticks.values.back()), QString::fromLatin1(c.last));
    }
    // An offset range starts on the first multiple of the step inside it.
    const AxisTicks offset = axisTicks(487.3, 512.9, 8);
    EXPECT_DOUBLE_EQ(offset.step, 5.0);
    EXPECT_DOUBLE_EQ(offset.values.front(), 490.0);
    EXPECT_DOUBLE_EQ(offset.values.back(), 510.0);
}

TEST(AxisTicksTest, LabelsNeverReadMinusZeroAndWildRangesGiveFewOrNoTicks) {
    const AxisTicks ticks = axisTicks(-0.04, 0.7, 8);
    EXPECT_EQ(ticks.label(ticks.values.front()), QStringLiteral("0.0"));
    EXPECT_TRUE(axisTicks(5.0, 1.0, 8).values.empty());
    EXPECT_TRUE(axisTicks(0.0, INFINITY, 8).values.empty());
    EXPECT_LE(axisTicks(-1e300, 1e300, 8).values.size(), 64u);
    EXPECT_EQ(axisTicks(3.0, 3.0, 8).values.size(), 1u);
}

TEST(AxisTicksTest, FittedTicksThinOutUntilTheirLabelsCannotOverlap) {
    const QFontMetricsF metrics(QFont(QStringLiteral("Arial"), 9));
    const auto extent = [&](const QString& text) { return metrics.horizontalAdvance(text) + 6.0; };
    for (const double length : {2000.0, 400.0, 160.0}) {
        SCOPED_TRACE(length);
        const AxisTicks ticks = fittedTicks(0.0, 32767.0, length, extent);
        ASSERT_GE(ticks.values.size(), 2u);
        const double spacing = ticks.step / 32767.0 * length;
        for (const double v : ticks.values) {
            EXPECT_LE(extent(ticks.label(v)), spacing);
        }
    }
    EXPECT_GT(fittedTicks(0.0, 32767.0, 2000.0, extent).values.size(),
              fittedTicks(0.0, 32767.0, 160.0, extent).values.size());
    // Room for one label only: one tick, which overlaps nothing.
    EXPECT_EQ(fittedTicks(0.0, 32767.0, 20.0, extent).values.size(), 1u);
}

}  // namespace
}  // namespace tevusb::graph
