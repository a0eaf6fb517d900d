// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPixmap>
#include <QTest>

#include "support/dialog_fixture.h"
#include "support/screenshot.h"
#include "ui/dialogs/capture_ids.h"
#include "ui/dialogs/capture_window.h"
#include "ui/dialogs/control_options_window.h"

// Pictures of the dialogs in use, for looking at; each also checks it is not blank.

namespace tevusb::ui {
namespace {

using namespace capture_ids;
using testing::enabled;
using testing::press;
using testing::SimRig;
using testing::waitUntil;

using tevusb::testing::saveShot;

bool varied(const QImage& image) {
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 7) {
        for (int x = 0; x < image.width(); x += 7) {
            if (image.pixel(x, y) != first) {
                return true;
            }
        }
    }
    return false;
}

TEST(DialogShotsTest, DownloadDataWithASelectedSetAndTheLiveView) {
    SimRig rig;
    CCaptureWindow dialog(nullptr, &rig.graph, &rig.surface);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    dialog.window()->resize(dialog.window()->width() + 120, dialog.window()->height() + 40);
    qobject_cast<QCheckBox*>(dialog.item(kLiveUpdate))->setChecked(true);
    ASSERT_TRUE(press(dialog, kReadData));
    ASSERT_TRUE(waitUntil([&] { return enabled(dialog, kSaveAll); }));
    const QImage live = rig.surface.snapshot();
    EXPECT_TRUE(varied(live));
    EXPECT_TRUE(saveShot(live, "download_live_view.png"));

    const auto flights = rig.sim().flights();
    QWidget* map = dialog.item(kMap);
    const double columnWidth = (map->width() + 2) / 128.0;
    QTest::mouseClick(map, Qt::LeftButton, {},
                      QPoint(static_cast<int>((flights[1].firstPacket + 1) * columnWidth), 2));
    ASSERT_EQ(dialog.selectedSet(), 1);
    const QImage shot = dialog.window()->grab().toImage();
    EXPECT_TRUE(varied(shot));
    EXPECT_TRUE(saveShot(shot, "download_data.png"));
}

TEST(DialogShotsTest, ControlOptionsAfterBatteryAndPressure) {
    SimRig rig;
    CControlOptionsWindow dialog(nullptr, &rig.graph);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(press(dialog, 1041));
    ASSERT_TRUE(waitUntil([&] { return dialog.statusText().contains("Volts"); }));
    ASSERT_TRUE(waitUntil([&] { return enabled(dialog, 1040); }));
    ASSERT_TRUE(press(dialog, 1040));
    ASSERT_TRUE(waitUntil([&] { return dialog.statusText().contains("Meters"); }));
    ASSERT_TRUE(waitUntil([&] { return enabled(dialog, 1040); }));
    const QImage shot = dialog.window()->grab().toImage();
    EXPECT_TRUE(varied(shot));
    EXPECT_TRUE(saveShot(shot, "control_options.png"));
}

}  // namespace
}  // namespace tevusb::ui
