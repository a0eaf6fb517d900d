// SPDX-License-Identifier: MIT
#include "ui/svg_icon_engine.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <vector>

#include "ui/resource_images.h"

namespace tevusb::ui {
namespace {

TEST(SvgIconEngineTest, EachOfferedSizeIsDrawnOnceWhenFirstAskedFor) {
    std::vector<int> drawn;
    QIcon icon(new SvgIconEngine(
        [&](int size) {
            drawn.push_back(size);
            QPixmap pixmap(size, size);
            pixmap.fill(Qt::red);
            return pixmap;
        },
        {48, 16, 32}));
    EXPECT_TRUE(drawn.empty());
    EXPECT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));

    EXPECT_EQ(icon.pixmap(32).size(), QSize(32, 32));
    EXPECT_EQ(icon.pixmap(32).size(), QSize(32, 32));
    // Between two sizes: the larger one, scaled down; beyond the largest: scaled up.
    EXPECT_EQ(icon.pixmap(24).size(), QSize(24, 24));
    EXPECT_EQ(icon.pixmap(64).size(), QSize(64, 64));
    EXPECT_EQ(drawn, (std::vector<int>{32, 48}));
}

TEST(SvgIconEngineTest, ProgramIconShowsTheDrawnPicture) {
    const QIcon icon = programIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(48).toImage(), iconPixmap(kIconProgram, 48).toImage());
    EXPECT_EQ(icon.availableSizes().size(), 7);
}

}  // namespace
}  // namespace tevusb::ui
