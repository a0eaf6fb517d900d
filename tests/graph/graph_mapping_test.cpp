// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "graph/graph_mapping.h"

namespace tevusb::graph {
namespace {

data::GraphScale scale(int xo, int yo, int xs, int ys, int w, int h) {
    data::GraphScale s;
    s.xOrigin = xo;
    s.yOrigin = yo;
    s.xSpan = xs;
    s.ySpan = ys;
    s.width = w;
    s.height = h;
    return s;
}

TEST(GraphMapping, PlotAreaCornersLieFiftyPixelsInside) {
    const GraphMapping m(scale(10, -20, 40, 200, 900, 700));
    EXPECT_EQ(m.px(10.0), 50);
    EXPECT_EQ(m.px(50.0), 850);
    EXPECT_EQ(m.py(-20.0), 650);
    EXPECT_EQ(m.py(180.0), 50);
    EXPECT_EQ(m.px(30.0), 450);
    EXPECT_EQ(m.py(80.0), 350);
}

TEST(GraphMapping, TruncatesTowardZeroNotDownwards) {
    // plot width 50 over 100 s: t = 0.99 lands at 50.495, t = -101 at -0.5.
    const GraphMapping m(scale(0, 0, 100, 100, 150, 150));
    EXPECT_EQ(m.px(0.99), 50);
    EXPECT_EQ(m.px(-101.0), 0);
    EXPECT_EQ(m.px(-103.0), -1);
    // py: 150 - v * 50 / 100 - 50; v = 201 gives -0.5, which truncates to 0.
    EXPECT_EQ(m.py(201.0), 0);
    EXPECT_EQ(m.py(199.0), 0);
    EXPECT_EQ(m.py(1.0), 99);
}

TEST(GraphMapping, ZeroSpansDrawAsOneUnit) {
    const GraphMapping m(scale(0, 5, 0, 0, 300, 200));
    EXPECT_EQ(m.px(0.0), 50);
    EXPECT_EQ(m.px(1.0), 250);
    EXPECT_EQ(m.px(0.5), 150);
    EXPECT_EQ(m.py(5.0), 150);
    EXPECT_EQ(m.py(6.0), 50);
}

TEST(GraphMapping, WildValuesGiveClampedPixelsNotUndefinedConversions) {
    const GraphMapping m(scale(0, 0, 1, 1, 1920, 1080));
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(m.px(std::nan("")), 0);
    EXPECT_EQ(m.py(std::nan("")), 0);
    EXPECT_EQ(m.px(1e300), INT_MAX);
    EXPECT_EQ(m.px(-inf), INT_MIN);
    EXPECT_EQ(m.py(1e300), INT_MIN);
    EXPECT_EQ(m.py(-1e300), INT_MAX);
    const GraphMapping extreme(scale(INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MAX, INT_MIN));
    EXPECT_GT(extreme.px(0.0), 0);
    EXPECT_EQ(extreme.py(0.0), 49);
}

}  // namespace
}  // namespace tevusb::graph
