// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QPainter>
#include <QPen>
#include <cmath>
#include <limits>

#include "graph/line_batch.h"
#include "graph_test_support.h"

namespace tevusb::graph {
namespace {

using testing::opaque;

data::GraphScale scaleFor(std::size_t samples, int ySpan, int w, int h) {
    data::GraphScale s;
    s.xSpan = static_cast<int>(samples / 10);
    s.yOrigin = -ySpan / 2;
    s.ySpan = ySpan;
    s.width = w;
    s.height = h;
    return s;
}

// The drawing as it is defined: one line per sample interval.
LineBatch everySegment(const GraphMapping& m, const std::vector<double>& s) {
    LineBatch batch;
    for (std::size_t i = 1; i < s.size(); ++i) {
        batch.add(m.px((i - 1) / 10.0), m.py(s[i - 1]), m.px(i / 10.0), m.py(s[i]));
    }
    return batch;
}

QImage render(const LineBatch& batch, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    batch.draw(painter, QPen(QBrush(Qt::red), 2, Qt::SolidLine, Qt::FlatCap));
    return image;
}

// Every red pixel of one picture has a red pixel within one pixel in the other.
int pixelsFartherThanOne(const QImage& a, const QImage& b) {
    int far = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) == opaque(0xFF0000) && !testing::colourNear(b, x, y, 0xFF0000, 1)) {
                ++far;
            }
            if (b.pixel(x, y) == opaque(0xFF0000) && !testing::colourNear(a, x, y, 0xFF0000, 1)) {
                ++far;
            }
        }
    }
    return far;
}

std::vector<double> noisyFlight(std::size_t n) {
    std::vector<double> s(n);
    std::uint32_t seed = 7;
    for (std::size_t i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double shape = 300.0 * std::sin(3.14159 * static_cast<double>(i) / n);
        s[i] = shape + static_cast<double>(seed >> 24) / 8.0 - 16.0;
    }
    return s;
}

TEST(LineBatch, FewerThanTwoValuesDrawNothing) {
    const GraphMapping m(scaleFor(100, 100, 400, 300));
    LineBatch batch;
    batch.addPolyline(m, {});
    batch.addPolyline(m, {42.0});
    EXPECT_TRUE(batch.lines().empty());
}

TEST(LineBatch, SparseSeriesKeepsEverySegment) {
    const std::vector<double> s = {0, 10, -5, 30, 30, 12, 40, 0, 1, 2, 3, 4, 5};
    const GraphMapping m(scaleFor(s.size() * 10, 100, 800, 600));
    LineBatch batch;
    batch.addPolyline(m, s);
    const LineBatch full = everySegment(m, s);
    ASSERT_EQ(batch.lines().size(), full.lines().size());
    for (std::size_t i = 0; i < full.lines().size(); ++i) {
        EXPECT_EQ(batch.lines()[i], full.lines()[i]) << i;
    }
}

TEST(LineBatch, DenseSeriesDrawsAnEnvelopeWithinOnePixelOfEverySegment) {
    const int w = 640;
    const int h = 400;
    for (const std::size_t n : {std::size_t{3968}, std::size_t{100'000}}) {
        const std::vector<double> s = noisyFlight(n);
        const GraphMapping m(scaleFor(n, 400, w, h));
        LineBatch envelope;
        envelope.addPolyline(m, s);
        const LineBatch full = everySegment(m, s);
        // At most one vertical extent and one link per pixel column.
        EXPECT_LE(envelope.lines().size(), 2u * static_cast<unsigned>(w)) << n;
        EXPECT_LT(envelope.lines().size(), full.lines().size()) << n;
        EXPECT_EQ(pixelsFartherThanOne(render(envelope, w, h), render(full, w, h)), 0) << n;
    }
}

TEST(LineBatch, WildValuesInADenseSeriesDrawLikeEverySegment) {
    const int w = 400;
    const int h = 300;
    const std::size_t n = 20'000;
    std::vector<double> s = noisyFlight(n);
    s[3] = std::nan("");
    s[5000] = std::numeric_limits<double>::infinity();
    s[5001] = -std::numeric_limits<double>::infinity();
    for (std::size_t i = 12'000; i < 12'040; ++i) {
        s[i] = std::nan("");
    }
    s[n - 1] = 1e300;
    for (const int ySpan : {400, 0}) {
        const GraphMapping m(scaleFor(n, ySpan, w, h));
        LineBatch envelope;
        envelope.addPolyline(m, s);
        const LineBatch full = everySegment(m, s);
        EXPECT_EQ(pixelsFartherThanOne(render(envelope, w, h), render(full, w, h)), 0) << ySpan;
    }
}

TEST(LineBatch, ZeroLengthAndFarAwayLinesAreDroppedLongOnesClipped) {
    LineBatch batch;
    batch.add(5, 5, 5, 5);
    batch.add(1e9, 0, 2e9, 10);
    batch.add(0, -1e12, 100, -1e12);
    batch.add(std::nan(""), 0, 10, 10);
    batch.add(0, 0, 10, std::numeric_limits<double>::infinity());
    EXPECT_TRUE(batch.lines().empty());

    batch.add(0, 0, 1e9, 1e9);
    ASSERT_EQ(batch.lines().size(), 1u);
    const QLineF clipped = batch.lines()[0];
    EXPECT_EQ(clipped.p1(), QPointF(0, 0));
    EXPECT_DOUBLE_EQ(clipped.p2().x(), LineBatch::kClipLimit);
    EXPECT_DOUBLE_EQ(clipped.p2().y(), LineBatch::kClipLimit);

    // The visible part of a clipped line is where the unclipped one would be.
    batch.clear();
    batch.add(-3e9, 50, 3e9 + 200, 50);
    batch.add(100, -4e9, 100, 4e9);
    const QImage image = render(batch, 200, 100);
    EXPECT_EQ(image.pixel(10, 49), opaque(0xFF0000));
    EXPECT_EQ(image.pixel(190, 50), opaque(0xFF0000));
    EXPECT_EQ(image.pixel(100, 5), opaque(0xFF0000));
    EXPECT_EQ(image.pixel(10, 20), opaque(0xFFFFFF));
}

}  // namespace
}  // namespace tevusb::graph
