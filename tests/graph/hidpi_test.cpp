// SPDX-License-Identifier: MIT
// The display surface at a screen's device-pixel ratio: at 1 every pixel as before, at 2
// twice the pixels with the curves and labels drawn at that resolution, not scaled up.
#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "graph/analysis_palette.h"
#include "graph/analysis_view.h"
#include "graph/flight_graph.h"
#include "graph/graph_palette.h"
#include "graph/line_batch.h"
#include "graph/set_view.h"
#include "graph_test_support.h"

namespace tevusb::graph {
namespace {

using testing::LogCapture;
using testing::opaque;

constexpr int kWidth = 900;
constexpr int kHeight = 560;

// FNV-1a over the end points of every line, in order: any moved end point changes it.
std::uint64_t fingerprint(const LineBatch& batch) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const QLineF& line : batch.lines()) {
        for (const double v : {line.x1(), line.y1(), line.x2(), line.y2()}) {
            unsigned char bytes[sizeof v];
            std::memcpy(bytes, &v, sizeof v);
            for (const unsigned char b : bytes) {
                hash = (hash ^ b) * 1099511628211ull;
            }
        }
    }
    return hash;
}

std::vector<double> wavyFlight(std::size_t n) {
    std::vector<double> s(n);
    std::uint32_t seed = 11;
    for (std::size_t i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        s[i] = 400.0 * std::sin(3.0 * static_cast<double>(i) / static_cast<double>(n)) +
               static_cast<double>(seed >> 26) - 32.0;
    }
    return s;
}

// The 2 x 2 pixel blocks (at even coordinates, inside `area` in units) that hold the
// colour, and how many of those are not one colour throughout. A picture drawn at half
// the resolution and scaled up has no mixed block at all; a curve drawn at the device's
// resolution steps by single pixels, so a good share of its blocks are mixed.
struct Blocks {
    int withColour = 0;
    int mixed = 0;
};

Blocks blocksOf(const QImage& image, const QRect& area, QRgb colour) {
    Blocks blocks;
    const QRect device(area.topLeft() * 2, area.size() * 2);
    for (int y = device.top() & ~1; y + 1 <= device.bottom(); y += 2) {
        for (int x = device.left() & ~1; x + 1 <= device.right(); x += 2) {
            const QRgb p[4] = {image.pixel(x, y), image.pixel(x + 1, y), image.pixel(x, y + 1),
                               image.pixel(x + 1, y + 1)};
            if (std::find(std::begin(p), std::end(p), opaque(colour)) == std::end(p)) {
                continue;
            }
            ++blocks.withColour;
            blocks.mixed += (p[0] != p[1] || p[0] != p[2] || p[0] != p[3]) ? 1 : 0;
        }
    }
    return blocks;
}

// Pixels of the colour in the ratio-2 picture with none of it within two units at the
// same place in the ratio-1 picture: the curves must stay where the units put them (a
// 2-unit pen on half-unit end points may reach one device pixel further).
int strayPixels(const QImage& twice, const QImage& once, const QRect& area, QRgb colour) {
    int stray = 0;
    for (int y = area.top() * 2; y < (area.bottom() + 1) * 2; ++y) {
        for (int x = area.left() * 2; x < (area.right() + 1) * 2; ++x) {
            if (twice.pixel(x, y) == opaque(colour) &&
                !testing::colourNear(once, x / 2, y / 2, colour, 2)) {
                ++stray;
            }
        }
    }
    return stray;
}

struct HiDpiTest : ::testing::Test {
    LogCapture log;
    data::DataSetStore store;
    surface::DisplaySurface surface;
    FlightGraph graph{store, surface};

    void SetUp() override {
        synthetic::FlightProfile profile;
        profile.readingCount = 900;
        profile.apogeeAgl = 620.0;
        testing::loadFlight(store, profile);
    }

    QImage show(qreal ratio, bool analysisView) {
        EXPECT_TRUE(surface.create(kWidth, kHeight, ratio));
        graph.setClientSize(kWidth, kHeight);
        graph.setAnalysisView(analysisView);
        EXPECT_TRUE(graph.ShowSet(0));
        graph.RedrawGraph();
        return surface.snapshot();
    }
};

// The curves' geometry at ratio 1, recorded before drawing learned device pixels: a
// ratio-1 picture must keep every end point where it was.
TEST(HiDpiRatioOne, CurveGeometryIsUnchanged) {
    data::GraphScale scale;
    scale.xSpan = 300;
    scale.yOrigin = -100;
    scale.ySpan = 600;
    scale.width = 777;
    scale.height = 431;
    struct Recorded {
        std::size_t n;
        std::size_t setLines;
        std::uint64_t set;
        std::size_t plotLines;
        std::uint64_t plot;
    };
    const Recorded recorded[] = {{120, 53, 0x6c0ed0fe76e592eeull, 45, 0xb790bcab7e76b6ddull},
                                 {3000, 1353, 0x9e72cd3ff7857486ull, 1558, 0xc7393b450400dea5ull}};
    for (const Recorded& r : recorded) {
        const std::vector<double> s = wavyFlight(r.n);
        LineBatch set;
        set.addPolyline(GraphMapping(scale), s, 1.0);
        LineBatch plot;
        plot.addPolyline(PlotMapping(QRectF(61, 37, 650, 341), 2.5, 250.0, -120.0, 480.0), s, 25,
                         r.n - 7, 1.0);
        EXPECT_EQ(set.lines().size(), r.setLines) << r.n;
        EXPECT_EQ(fingerprint(set), r.set) << r.n;
        EXPECT_EQ(plot.lines().size(), r.plotLines) << r.n;
        EXPECT_EQ(fingerprint(plot), r.plot) << r.n;
    }
}

// At ratio 2 a curve's end points lie on device pixels, each within one device pixel of
// its exact place; at 1 they are whole units, up to a whole unit away.
TEST(HiDpiCurves, EndPointsFollowTheDevicePixels) {
    data::GraphScale scale;
    scale.xSpan = 30;
    scale.ySpan = 500;
    scale.yOrigin = -50;
    scale.width = 900;
    scale.height = 600;
    const GraphMapping mapping(scale);
    const std::vector<double> s = wavyFlight(200);
    const auto farPoints = [&](double resolution) {
        LineBatch batch;
        batch.addPolyline(mapping, s, resolution);
        // Sparse samples: one line per interval, from sample i - 1 to sample i.
        EXPECT_EQ(batch.lines().size(), s.size() - 1);
        int far = 0;
        for (std::size_t i = 1; i < s.size() && i <= batch.lines().size(); ++i) {
            const QPointF end = batch.lines()[i - 1].p2();
            EXPECT_EQ(end.x() * resolution, std::trunc(end.x() * resolution)) << i;
            EXPECT_EQ(end.y() * resolution, std::trunc(end.y() * resolution)) << i;
            const double dx = std::fabs(end.x() - mapping.x(i / 10.0));
            const double dy = std::fabs(end.y() - mapping.y(s[i]));
            far += (dx >= 1.0 / resolution || dy >= 1.0 / resolution) ? 1 : 0;
        }
        return far;
    };
    EXPECT_EQ(farPoints(2.0), 0);
    EXPECT_EQ(farPoints(1.0), 0);
    // Truncating to whole units moves most points by half a unit or more.
    LineBatch whole;
    whole.addPolyline(mapping, s, 1.0);
    int halfAway = 0;
    for (std::size_t i = 1; i < s.size(); ++i) {
        const QPointF end = whole.lines()[i - 1].p2();
        halfAway += std::fabs(end.y() - mapping.y(s[i])) >= 0.5 ? 1 : 0;
    }
    EXPECT_GT(halfAway, 40);
}

TEST_F(HiDpiTest, AtRatioOneTheSurfaceHoldsWhatAPlainImageShows) {
    const QImage setView = show(1.0, false);
    EXPECT_EQ(setView.size(), QSize(kWidth, kHeight));
    EXPECT_EQ(setView.devicePixelRatio(), 1.0);
    QImage plain(kWidth, kHeight, QImage::Format_RGB32);
    plain.fill(opaque(palette::kSetBackground));
    {
        QPainter painter(&plain);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        drawSetView(painter, GraphMapping(graph.scale()), store.current, graph.units());
    }
    EXPECT_EQ(setView, plain);

    const QImage analysisView = show(1.0, true);
    QImage report(kWidth, kHeight, QImage::Format_RGB32);
    {
        QPainter painter(&report);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        drawAnalysisView(painter, report.rect(), store.current, graph.statistics(),
                         graph.viewState(), graph.units());
    }
    EXPECT_EQ(analysisView, report);
}

TEST(HiDpiSurface, HoldsRatioTimesThePixelsWhileSizesStayInUnits) {
    surface::DisplaySurface surface;
    ASSERT_TRUE(surface.create(301, 200, 2.0));
    EXPECT_EQ(surface.size(), QSize(301, 200));
    EXPECT_EQ(surface.devicePixelRatio(), 2.0);
    {
        surface::DrawingContext context = surface.open();
        EXPECT_EQ(context.size(), QSize(301, 200));
        context.fill(0x00123456);
        // Drawing in units: the last unit's column is the last two device columns.
        QPainter* painter = context.painter();
        ASSERT_NE(painter, nullptr);
        painter->fillRect(QRect(300, 0, 1, 1), QColor(Qt::white));
    }
    QImage shot = surface.snapshot();
    EXPECT_EQ(shot.size(), QSize(602, 400));
    EXPECT_EQ(shot.devicePixelRatio(), 2.0);
    EXPECT_EQ(testing::countColour(shot, shot.rect(), 0x123456), 602 * 400 - 4);
    EXPECT_EQ(testing::countColour(shot, QRect(600, 0, 2, 2), 0xFFFFFF), 4);

    // Presenting on a window of the same ratio copies pixel for pixel.
    QImage window(602, 400, QImage::Format_RGB32);
    window.setDevicePixelRatio(2.0);
    window.fill(Qt::black);
    {
        QPainter painter(&window);
        EXPECT_TRUE(surface.PresentGraph(painter, 301, 200));
    }
    EXPECT_EQ(window, shot);

    // A fractional ratio rounds the buffer up and still fills every pixel.
    ASSERT_TRUE(surface.create(101, 51, 1.25));
    EXPECT_EQ(surface.snapshot().size(), QSize(127, 64));
    EXPECT_TRUE(surface.fill(0x00FF0000));
    shot = surface.snapshot();
    EXPECT_EQ(testing::countColour(shot, shot.rect(), 0xFF0000), 127 * 64);

    for (const qreal bad : {0.0, -1.0, std::nan(""), 9.0}) {
        EXPECT_FALSE(surface.create(100, 100, bad)) << bad;
        EXPECT_FALSE(surface.hasBuffer());
    }
    // A side that fits in units but not in device pixels is refused, not allocated.
    EXPECT_FALSE(surface.create(20000, 10, 2.0));
}

TEST_F(HiDpiTest, SetViewAtRatioTwoDrawsCurvesAndLabelsAtDevicePixels) {
    const QImage once = show(1.0, false);
    const QImage twice = show(2.0, false);
    ASSERT_EQ(twice.size(), QSize(2 * kWidth, 2 * kHeight));

    // Right of and below the legend only the altitude curve and Line A's bar are red.
    const QRect curves(300, 130, kWidth - 300, kHeight - 130);
    const Blocks red = blocksOf(twice, curves, palette::kRed);
    ASSERT_GT(red.withColour, 200);
    EXPECT_GT(red.mixed * 10, red.withColour) << red.mixed << " of " << red.withColour;
    EXPECT_EQ(blocksOf(once.scaled(once.size() * 2), curves, palette::kRed).mixed, 0);
    EXPECT_EQ(strayPixels(twice, once, curves, palette::kRed), 0);
    const Blocks green = blocksOf(twice, curves, palette::kGreen);
    EXPECT_GT(green.mixed * 10, green.withColour) << green.mixed << " of " << green.withColour;
    EXPECT_EQ(strayPixels(twice, once, curves, palette::kGreen), 0);

    // The legend's letters are drawn at the screen's resolution too.
    EXPECT_GT(blocksOf(twice, QRect(10, 10, 160, 22), palette::kRed).mixed, 10);
}

TEST_F(HiDpiTest, AnalysisViewAtRatioTwoKeepsItsLayoutInUnitsAndDrawsFinerCurves) {
    const QImage once = show(1.0, true);
    const AnalysisLayout onceLayout = graph.shownLayout();
    const QImage twice = show(2.0, true);
    const AnalysisLayout layout = graph.shownLayout();
    ASSERT_EQ(twice.size(), QSize(2 * kWidth, 2 * kHeight));
    EXPECT_EQ(layout.target(), QRect(0, 0, kWidth, kHeight));
    EXPECT_EQ(layout.plot(), onceLayout.plot());
    // The readout finds the sample under a point given in units.
    EXPECT_TRUE(graph.cursorAt(layout.plot().center().x()).has_value());

    const QRect inside = layout.plot().adjusted(2, 2, -2, -2);
    const Blocks altitude = blocksOf(twice, inside, analysis_palette::kAltitude);
    ASSERT_GT(altitude.withColour, 200);
    EXPECT_GT(altitude.mixed * 10, altitude.withColour)
        << altitude.mixed << " of " << altitude.withColour;
    EXPECT_EQ(strayPixels(twice, once, inside, analysis_palette::kAltitude), 0);
}

}  // namespace
}  // namespace tevusb::graph
