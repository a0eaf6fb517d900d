// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPainter>
#include <limits>

#include "graph/graph_text.h"
#include "graph_test_support.h"

namespace tevusb::graph {
namespace {

using testing::countColour;

TEST(GraphText, NumbersAreWrittenAsADefaultStreamWritesAFloat) {
    EXPECT_EQ(floatText(12.3f), "12.3");
    EXPECT_EQ(floatText(1234.567f), "1234.57");
    EXPECT_EQ(floatText(0.0f), "0");
    EXPECT_EQ(floatText(0.3f), "0.3");
    EXPECT_EQ(floatText(25.0f), "25");
    EXPECT_EQ(floatText(-42.5f), "-42.5");
    EXPECT_EQ(floatText(123456.0f), "123456");
    EXPECT_EQ(floatText(1234567.0f), "1.23457e+06");
    EXPECT_EQ(floatText(0.0001f), "0.0001");
    EXPECT_EQ(floatText(0.00001f), "1e-05");
}

TEST(GraphText, PeakLabelsHaveTwoBlanksAfterTheSeconds) {
    EXPECT_EQ(peakText(12.3f, 456.7f, "m"), "(12.3 s  456.7 m)");
    EXPECT_EQ(peakText(2.0f, 380.52f, "km/h"), "(2 s  380.52 km/h)");
    EXPECT_EQ(peakText(0.0f, 0.0f, "m"), "(0 s  0 m)");
}

TEST(GraphText, LabelFontIsATwelvePointRegularSansSerif) {
    const QFont font = labelFont();
    EXPECT_EQ(font.pointSize(), 12);
    EXPECT_FALSE(font.bold());
    EXPECT_FALSE(font.italic());
    const QFontInfo info(font);
    EXPECT_FALSE(info.family().isEmpty());
    EXPECT_FALSE(info.fixedPitch());
}

TEST(GraphText, LabelsStartAtTheTopLeftOfTheirBoxAndFarAwayOnesAreSkipped) {
    QImage image(300, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        drawLabel(painter, labelFont(), 40, 30, QStringLiteral("Ground"), 0xFF0000FF);
        drawLabel(painter, labelFont(), std::numeric_limits<std::int64_t>::max(), 0,
                  QStringLiteral("far"), 0xFFFF0000);
        drawLabel(painter, labelFont(), 0, -1'000'000'000, QStringLiteral("far"), 0xFFFF0000);
    }
    EXPECT_GT(countColour(image, QRect(40, 30, 80, 22), 0x0000FF), 20);
    EXPECT_EQ(countColour(image, QRect(0, 0, 300, 30), 0x0000FF), 0);
    EXPECT_EQ(countColour(image, QRect(0, 0, 40, 100), 0x0000FF), 0);
    EXPECT_EQ(countColour(image, image.rect(), 0xFF0000), 0);
}

}  // namespace
}  // namespace tevusb::graph
