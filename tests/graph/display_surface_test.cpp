// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QPainter>
#include <atomic>

#include "graph/surface/display_surface.h"
#include "graph_test_support.h"

namespace tevusb::surface {
namespace {

using graph::testing::countColour;
using graph::testing::opaque;

TEST(DisplaySurface, CreatesABlackBufferOfTheGivenSizeAndFillsRawPixels) {
    DisplaySurface surface;
    ASSERT_TRUE(surface.create(64, 48));
    EXPECT_TRUE(surface.hasBuffer());
    EXPECT_EQ(surface.size(), QSize(64, 48));
    QImage shot = surface.snapshot();
    EXPECT_EQ(countColour(shot, shot.rect(), 0x000000), 64 * 48);

    EXPECT_TRUE(surface.fill(0x00B4B4FF));
    shot = surface.snapshot();
    EXPECT_EQ(QColor(shot.pixel(0, 0)), QColor(180, 180, 255));
    EXPECT_EQ(countColour(shot, shot.rect(), 0x00B4B4FF), 64 * 48);
}

TEST(DisplaySurface, RefusesEmptyNegativeAndAbsurdSizesAndThenHasNoBuffer) {
    DisplaySurface surface;
    const QSize bad[] = {{0, 10},
                         {10, 0},
                         {-5, 10},
                         {10, -1},
                         {DisplaySurface::kMaxSide + 1, 10},
                         {DisplaySurface::kMaxSide, DisplaySurface::kMaxSide}};
    for (const QSize& size : bad) {
        ASSERT_TRUE(surface.create(20, 20));
        EXPECT_FALSE(surface.create(size.width(), size.height()))
            << size.width() << "x" << size.height();
        // Creating always releases first, so a failed create leaves nothing behind.
        EXPECT_FALSE(surface.hasBuffer());
        EXPECT_EQ(surface.size(), QSize(0, 0));
    }
}

TEST(DisplaySurface, WithoutABufferEveryOperationDoesNothing) {
    DisplaySurface surface;
    surface.release();
    surface.release();
    EXPECT_FALSE(surface.fill(0x00FF0000));
    EXPECT_FALSE(static_cast<bool>(surface.open()));
    EXPECT_EQ(surface.open().painter(), nullptr);
    EXPECT_TRUE(surface.snapshot().isNull());

    int requests = 0;
    surface.setRepaintRequest([&] { ++requests; });
    EXPECT_FALSE(surface.PresentGraph());
    EXPECT_EQ(requests, 0);

    QImage window(10, 10, QImage::Format_RGB32);
    window.fill(opaque(0x123456));
    QPainter painter(&window);
    EXPECT_FALSE(surface.PresentGraph(painter, 10, 10));
    painter.end();
    EXPECT_EQ(countColour(window, window.rect(), 0x123456), 100);

    ASSERT_TRUE(surface.create(8, 8));
    surface.release();
    surface.release();
    EXPECT_FALSE(surface.hasBuffer());
}

TEST(DisplaySurface, PresentCopiesPixelForPixelOrStretchesToTheClientSize) {
    DisplaySurface surface;
    ASSERT_TRUE(surface.create(4, 3));
    {
        DrawingContext context = surface.open();
        ASSERT_TRUE(context);
        QPainter* painter = context.painter();
        ASSERT_NE(painter, nullptr);
        painter->fillRect(QRect(0, 0, 2, 3), QColor(255, 0, 0));
        painter->fillRect(QRect(2, 0, 2, 3), QColor(0, 0, 255));
    }
    const QImage picture = surface.snapshot();

    QImage same(4, 3, QImage::Format_RGB32);
    {
        QPainter painter(&same);
        EXPECT_TRUE(surface.PresentGraph(painter, 4, 3));
    }
    EXPECT_EQ(same, picture);

    QImage larger(8, 6, QImage::Format_RGB32);
    larger.fill(Qt::white);
    {
        QPainter painter(&larger);
        EXPECT_TRUE(surface.PresentGraph(painter, 8, 6));
    }
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(larger.pixel(x, y), picture.pixel(x / 2, y / 2)) << x << "," << y;
        }
    }
}

TEST(DisplaySurface, APresentedNewBufferIsBlack) {
    DisplaySurface surface;
    ASSERT_TRUE(surface.create(5, 5));
    QImage window(5, 5, QImage::Format_RGB32);
    window.fill(Qt::white);
    QPainter painter(&window);
    EXPECT_TRUE(surface.PresentGraph(painter, 5, 5));
    painter.end();
    EXPECT_EQ(countColour(window, window.rect(), 0x000000), 25);
}

TEST(DisplaySurface, FillAfterDrawingCoversEverything) {
    DisplaySurface surface;
    ASSERT_TRUE(surface.create(30, 20));
    DrawingContext context = surface.open();
    QPainter* painter = context.painter();
    ASSERT_NE(painter, nullptr);
    painter->setPen(QPen(Qt::red, 3));
    painter->drawLine(0, 0, 29, 19);
    context.fill(0x00808080);
    painter->setPen(QPen(Qt::black, 1));
    painter->drawPoint(1, 1);
    context = DrawingContext();
    const QImage shot = surface.snapshot();
    EXPECT_EQ(countColour(shot, shot.rect(), 0x00808080), 30 * 20 - 1);
}

TEST(DisplaySurface, PresentRequestsARepaintThroughTheInstalledCallback) {
    DisplaySurface surface;
    ASSERT_TRUE(surface.create(10, 10));
    EXPECT_TRUE(surface.PresentGraph());  // no callback yet: nothing to call, no fault
    std::atomic<int> first{0};
    std::atomic<int> second{0};
    surface.setRepaintRequest([&] { ++first; });
    EXPECT_TRUE(surface.PresentGraph());
    surface.setRepaintRequest([&] { ++second; });
    EXPECT_TRUE(surface.PresentGraph());
    surface.requestRepaint();
    EXPECT_EQ(first.load(), 1);
    EXPECT_EQ(second.load(), 2);
}

TEST(DisplaySurface, SnapshotIsNotChangedByLaterDrawing) {
    DisplaySurface surface;
    ASSERT_TRUE(surface.create(6, 6));
    const QImage before = surface.snapshot();
    surface.fill(0x00FFFFFF);
    EXPECT_EQ(countColour(before, before.rect(), 0x000000), 36);
}

}  // namespace
}  // namespace tevusb::surface
