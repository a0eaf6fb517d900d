// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>

#include "test_dialog.h"
#include "ui/dialog_look.h"
#include "ui/group_box_frame.h"

namespace tevusb::ui {
namespace {

using testing::TestDialog;
using K = ControlKind;

DialogTemplate groupTemplate() {
    DialogTemplate t;
    t.id = 503;
    t.clientWidth = 200;
    t.clientHeight = 120;
    t.controls = {
        {1005, K::GroupBox, "Status", QRect(10, 10, 150, 90)},
        // A transparent label lying over the frame's bottom line.
        {2000, K::Label, "", QRect(60, 94, 30, 10)},
    };
    return t;
}

QRgb rgb(const QColor& c) {
    return c.rgb() & 0xFFFFFF;
}

TEST(GroupBoxGeometryTest, PartsFollowTheFontAndSize) {
    const QFont font = dialogFont();
    const GroupBoxGeometry g = groupBoxGeometry(font, "Status", 200, 100);
    const QFontMetricsF m(font);
    EXPECT_EQ(g.frameTop, static_cast<int>((m.ascent() + m.descent()) / 2) + 1);
    EXPECT_EQ(g.captionBox.topLeft(), QPoint(9, 0));
    EXPECT_EQ(g.captionBox.height(), static_cast<int>(m.ascent() + m.descent()) + 10);
    EXPECT_GE(g.captionBox.width(), static_cast<int>(m.horizontalAdvance("Status")));
    const int c = g.frameTop;
    const int capEnd = 9 + g.captionBox.width() + 2;
    ASSERT_EQ(g.lines.size(), 5u);
    EXPECT_EQ(g.lines[0], QLine(5, c, 7, c));
    EXPECT_EQ(g.lines[1], QLine(capEnd, c, 194, c));
    EXPECT_EQ(g.lines[2], QLine(4, 98, 195, 98));
    EXPECT_EQ(g.lines[3], QLine(1, c + 3, 1, 94));
    EXPECT_EQ(g.lines[4], QLine(198, c + 3, 198, 94));
    ASSERT_EQ(g.arcs.size(), 4u);
    EXPECT_EQ(g.arcs[1].box, QRect(190, c, 8, 8));
    EXPECT_EQ(g.arcs[3].box, QRect(190, 90, 8, 8));
    EXPECT_EQ(g.arcs[3].startDegrees, 0);
}

TEST(GroupBoxFrameTest, ReplacedBoxIsPaintedWithItsFrameCaptionAndGaps) {
    TestDialog dialog(groupTemplate(), [](TestDialog& d, const DialogMessage& m) {
        if (m.message == Message::InitDialog) {
            d.createLayout();
            d.anchorGroupBox(1005, true, true, true, true);
            return true;
        }
        return false;
    });
    ASSERT_TRUE(dialog.create(nullptr));
    ASSERT_EQ(dialog.groupBoxes().size(), 1u);
    EXPECT_EQ(dialog.item(1005), nullptr);  // the original box is gone
    QWidget* frame = dialog.groupBoxes()[0]->window;
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(dialog.groupBoxes()[0]->caption, "Status");
    dialog.window()->show();

    const QImage image = dialog.window()->grab().toImage();
    const QPoint o = frame->pos();
    const int R = frame->width();
    const int B = frame->height();
    const GroupBoxGeometry g = groupBoxGeometry(frame->font(), "Status", R, B);
    const int c = g.frameTop;
    auto at = [&](int x, int y) { return image.pixel(o.x() + x, o.y() + y) & 0xFFFFFF; };
    const QRgb frameColour = rgb(kGroupFrameColour);
    const QRgb background = rgb(kBackgroundColour);

    // The four straight lines.
    EXPECT_EQ(at(6, c), frameColour);
    EXPECT_EQ(at(R - 10, c), frameColour);
    EXPECT_EQ(at(1, B / 2), frameColour);
    EXPECT_EQ(at(R - 2, B / 2), frameColour);
    EXPECT_EQ(at(20, B - 2), frameColour);
    // Gaps: before the caption, under it, and just inside and outside the frame.
    EXPECT_EQ(at(8, c), background);
    EXPECT_EQ(at(R / 2, B / 2), background);
    EXPECT_EQ(at(0, B / 2), background);
    EXPECT_EQ(at(R - 1, B / 2), background);
    for (int x = g.captionBox.left(); x <= g.captionBox.right(); ++x) {
        EXPECT_NE(at(x, c), frameColour) << "frame line under the caption at x=" << x;
    }
    // The caption is drawn in its own colour somewhere in its box.
    bool captionInk = false;
    for (int y = 0; y < g.captionBox.height() && !captionInk; ++y) {
        for (int x = g.captionBox.left(); x <= g.captionBox.right(); ++x) {
            const QColor p = QColor::fromRgb(at(x, y));
            if (std::abs(p.red() - 0xA0) < 24 && std::abs(p.green() - 0x52) < 24 &&
                std::abs(p.blue() - 0x2D) < 24) {
                captionInk = true;
                break;
            }
        }
    }
    EXPECT_TRUE(captionInk);
    // Rounded corners: each arc box holds frame colour, its outer corner does not.
    for (const auto& arc : g.arcs) {
        int inked = 0;
        for (int y = arc.box.top(); y <= arc.box.bottom() + 1; ++y) {
            for (int x = arc.box.left(); x <= arc.box.right() + 1; ++x) {
                inked += at(x, y) == frameColour ? 1 : 0;
            }
        }
        EXPECT_GT(inked, 2) << "arc starting at " << arc.startDegrees;
    }
    EXPECT_NE(at(1, c), frameColour);
    EXPECT_NE(at(R - 2, c), frameColour);
    // No frame under the label that lies over the bottom line.
    const QRect label = dialog.item(2000)->geometry().translated(-o);
    for (int x = label.left(); x <= label.right(); ++x) {
        EXPECT_EQ(at(x, B - 2), background) << "frame drawn under a sibling at x=" << x;
    }
}

TEST(GroupBoxFrameTest, UnknownIdReplacesNothing) {
    TestDialog dialog(groupTemplate(), nullptr);
    ASSERT_TRUE(dialog.create(nullptr));
    EXPECT_EQ(dialog.replaceGroupBox(2000), nullptr);  // a label, not a group box
    EXPECT_EQ(dialog.replaceGroupBox(4242), nullptr);
    EXPECT_TRUE(dialog.groupBoxes().empty());
}

}  // namespace
}  // namespace tevusb::ui
