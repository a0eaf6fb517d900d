// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QWidget>
#include <set>

#include "test_dialog.h"
#include "ui/control_anchor.h"
#include "ui/dialog_templates.h"
#include "ui/status_box.h"

namespace tevusb::ui {
namespace {

using testing::TestDialog;
using testing::waitUntil;
using K = ControlKind;

// A parent 300 x 200 with a 40 x 20 control at (100, 50).
struct AnchorCase {
    bool top, left, bottom, right;
    QRect expected;  // after the parent grew by 30 x 10
};

TEST(ControlAnchorTest, EachCombinationOfFlagsMovesOrStretchesAsAnchored) {
    const AnchorCase cases[] = {
        {true, true, false, false, QRect(100, 50, 40, 20)},    // stays put
        {false, false, true, true, QRect(130, 60, 40, 20)},    // follows lower right corner
        {true, true, true, true, QRect(100, 50, 70, 30)},      // stretches both ways
        {true, false, false, true, QRect(130, 50, 40, 20)},    // follows right edge
        {true, true, false, true, QRect(100, 50, 70, 20)},     // widens
        {false, true, true, false, QRect(100, 60, 40, 20)},    // follows bottom edge
        {false, false, false, false, QRect(130, 60, 40, 20)},  // moves like a corner
    };
    for (const AnchorCase& c : cases) {
        QWidget parent;
        parent.resize(300, 200);
        QWidget control(&parent);
        control.setGeometry(100, 50, 40, 20);
        ControlAnchor anchor(&control, c.top, c.left, c.bottom, c.right);
        anchor.apply(330, 210);
        EXPECT_EQ(control.geometry(), c.expected) << c.top << c.left << c.bottom << c.right;
        // Back to the old size gives back the old place: changes are relative.
        anchor.apply(300, 200);
        EXPECT_EQ(control.geometry(), QRect(100, 50, 40, 20));
    }
}

TEST(ControlAnchorTest, RepeatedResizesAccumulateWithoutDrift) {
    QWidget parent;
    parent.resize(300, 200);
    QWidget control(&parent);
    control.setGeometry(10, 20, 50, 60);
    ControlAnchor anchor(&control, true, true, true, true);
    for (int step = 1; step <= 17; ++step) {
        anchor.apply(300 + step * 7, 200 + step * 3);
    }
    EXPECT_EQ(control.geometry(), QRect(10, 20, 50 + 17 * 7, 60 + 17 * 3));
}

// The settings dialog, anchored in the order and with the flags it uses.
DialogTemplate settingsLikeTemplate() {
    return *findDialogTemplate(kDialogProgramChip);
}

bool anchorSettingsLike(TestDialog& d, const DialogMessage& m) {
    if (m.message != Message::InitDialog) {
        return false;
    }
    d.createLayout();
    d.anchor(1003, true, true, true, true);
    for (int id : {1006, 1005, 1004}) {
        d.anchor(id, false, false, true, true);
    }
    for (int id : {1013, 1017, 1014, 1018, 1015, 1019, 1016, 1020, 1009, 1010, 1011, 1012}) {
        d.anchor(id, true, true, false, false);
    }
    for (int id : {1029, 1023, 1040, 1039, 1035, 1036}) {
        d.anchor(id, true, false, false, true);
    }
    d.anchor(1041, true, true, false, false);
    d.anchorGroupBox(1007, true, true, true, true);
    d.anchorGroupBox(1008, true, true, false, true);
    d.anchorGroupBox(1025, true, true, false, false);
    d.anchorGroupBox(1026, true, true, false, false);
    d.anchorGroupBox(1024, true, false, false, true);
    return true;
}

QRect geometryOf(TestDialog& d, int id) {
    return d.item(id)->geometry();
}

TEST(AnchorLayoutTest, EnlargingBy50MovesCloseStretchesStatusAndKeepsRadios) {
    TestDialog dialog(settingsLikeTemplate(), anchorSettingsLike);
    ASSERT_TRUE(dialog.create(nullptr));
    dialog.window()->show();
    const QSize start = dialog.window()->size();
    const QRect close = geometryOf(dialog, 1004);
    const QRect status = geometryOf(dialog, 1003);
    const QRect radio = geometryOf(dialog, 1013);
    const QRect inhibit = geometryOf(dialog, 1023);
    const QRect statusFrame = dialog.groupBoxes()[0]->window->geometry();
    const QRect settingsFrame = dialog.groupBoxes()[1]->window->geometry();
    const QRect lineAFrame = dialog.groupBoxes()[2]->window->geometry();

    dialog.window()->resize(start + QSize(50, 50));
    ASSERT_TRUE(waitUntil([&] { return geometryOf(dialog, 1004) != close; }));

    EXPECT_EQ(geometryOf(dialog, 1004), close.translated(50, 50));
    EXPECT_EQ(geometryOf(dialog, 1003), status.adjusted(0, 0, 50, 50));
    EXPECT_EQ(geometryOf(dialog, 1013), radio);
    EXPECT_EQ(geometryOf(dialog, 1023), inhibit.translated(50, 0));
    EXPECT_EQ(dialog.groupBoxes()[0]->window->geometry(), statusFrame.adjusted(0, 0, 50, 50));
    EXPECT_EQ(dialog.groupBoxes()[1]->window->geometry(), settingsFrame.adjusted(0, 0, 50, 0));
    EXPECT_EQ(dialog.groupBoxes()[2]->window->geometry(), lineAFrame);
}

TEST(AnchorLayoutTest, DialogCannotShrinkBelowItsInitialSize) {
    TestDialog dialog(settingsLikeTemplate(), anchorSettingsLike);
    ASSERT_TRUE(dialog.create(nullptr));
    dialog.window()->show();
    const QSize start = dialog.window()->size();
    const QRect close = geometryOf(dialog, 1004);

    EXPECT_EQ(dialog.window()->minimumSize(), start);
    dialog.window()->resize(start - QSize(80, 60));
    waitUntil([] { return false; }, 50);
    EXPECT_EQ(dialog.window()->size(), start);
    EXPECT_EQ(geometryOf(dialog, 1004), close);

    // It can still grow in one direction only.
    dialog.window()->resize(start.width() + 20, start.height() - 30);
    ASSERT_TRUE(waitUntil([&] { return geometryOf(dialog, 1004) != close; }));
    EXPECT_EQ(dialog.window()->size(), QSize(start.width() + 20, start.height()));
    EXPECT_EQ(geometryOf(dialog, 1004), close.translated(20, 0));
}

TEST(DialogTemplateTest, DialogUnitsFollowTheFontsBaseUnits) {
    const DialogUnits units(8, 16);
    // x: 8 / 4 pixels per unit, y: 16 / 8, rounded like the platform does.
    EXPECT_EQ(units.rect(QRect(7, 74, 223, 88)), QRect(14, 148, 446, 176));
    const DialogUnits odd(7, 13);
    EXPECT_EQ(odd.x(170), 298);  // 297.5 rounds up
    EXPECT_EQ(odd.y(4), 7);      // 6.5 rounds up
    EXPECT_EQ(odd.x(0), 0);

    const DialogUnits fromFont(dialogFont());
    EXPECT_GT(fromFont.baseX(), 3);
    EXPECT_GT(fromFont.baseY(), fromFont.baseX());
}

TEST(DialogTemplateTest, ControlsGetTheirIdsAsNamesAndRadioGroupsStaySeparate) {
    DialogTemplate t;
    t.id = 500;
    t.clientWidth = 200;
    t.clientHeight = 100;
    t.controls = {
        {1013, K::RadioButton, "A off", QRect(5, 5, 40, 10), 0, false, false, true},
        {1014, K::RadioButton, "A on", QRect(5, 20, 40, 10)},
        {1017, K::RadioButton, "B off", QRect(60, 5, 40, 10), 0, false, false, true},
        {1018, K::RadioButton, "B on", QRect(60, 20, 40, 10)},
        {1009, K::Edit, "", QRect(5, 40, 40, 12), 0, true, true},
    };
    TestDialog dialog(t, nullptr);
    ASSERT_TRUE(dialog.create(nullptr));
    auto radio = [&](int id) { return static_cast<QAbstractButton*>(dialog.item(id)); };
    radio(1014)->click();
    radio(1017)->click();
    EXPECT_TRUE(radio(1014)->isChecked());
    EXPECT_TRUE(radio(1017)->isChecked());
    radio(1013)->click();
    EXPECT_FALSE(radio(1014)->isChecked());
    EXPECT_TRUE(radio(1017)->isChecked());
    EXPECT_FALSE(dialog.item(1009)->isEnabled());
    EXPECT_EQ(dialog.item(4242), nullptr);
    EXPECT_EQ(dialog.window()->windowTitle(), QString());
}

TEST(DialogTemplateTest, EveryDialogTemplateBuildsWithUniqueIdsInsideItsClientArea) {
    for (int id : {kDialogProgramChip, kDialogDownloadData, kDialogUpdateFirmware, kDialogAbout,
                   kDialogControlOptions}) {
        const DialogTemplate* t = findDialogTemplate(id);
        ASSERT_NE(t, nullptr) << id;
        EXPECT_EQ(t->id, id);
        std::set<int> ids;
        for (const ControlTemplate& c : t->controls) {
            if (c.id != 0) {
                EXPECT_TRUE(ids.insert(c.id).second) << "id " << c.id << " twice in " << id;
            }
            EXPECT_TRUE(QRect(0, 0, t->clientWidth, t->clientHeight).contains(c.rect))
                << "control " << c.id << " outside dialog " << id;
        }
        EXPECT_EQ(ids.count(1003), 1u) << "no status box in " << id;
        TestDialog dialog(*t, nullptr);
        ASSERT_TRUE(dialog.create(nullptr));
        EXPECT_EQ(dialog.window()->windowTitle(), t->title);
        EXPECT_NE(qobject_cast<StatusBox*>(dialog.item(1003)), nullptr);
    }
    // Only the About box has a fixed size.
    EXPECT_FALSE(findDialogTemplate(kDialogAbout)->resizable);
    EXPECT_TRUE(findDialogTemplate(kDialogProgramChip)->resizable);
}

TEST(DialogTemplateTest, UnknownResourceIdCreatesNoDialog) {
    class Plain : public CBaseWindow {
      public:
        Plain() : CBaseWindow(4711) {}
        bool handleMessage(const DialogMessage& m) override { return defaultHandler(m); }
    } dialog;
    EXPECT_FALSE(dialog.create(nullptr));
    EXPECT_EQ(dialog.show(nullptr), -1);
    EXPECT_NE(findDialogTemplate(kDialogAbout), nullptr);
}

}  // namespace
}  // namespace tevusb::ui
