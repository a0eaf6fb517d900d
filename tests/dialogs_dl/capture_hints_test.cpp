// SPDX-License-Identifier: MIT
// The lines Download Data shows after its status lines: what to try when no altimeter
// answers, and that a download found no flights. The status lines stay as they are.
#include <gtest/gtest.h>

#include "support/dialog_fixture.h"
#include "support/screenshot.h"
#include "ui/dialogs/capture_ids.h"
#include "ui/dialogs/capture_window.h"
#include "ui/dialogs/device_hints.h"
#include "ui/status_box.h"
#include "ui/status_buffer.h"

namespace tevusb::ui {
namespace {

using namespace capture_ids;
using testing::enabled;
using testing::press;
using testing::SimRig;
using testing::waitUntil;

QString shown(CBaseWindow& dialog) {
    return qobject_cast<StatusBox*>(dialog.item(kStatus))->toPlainText();
}

QString asShown(const QString& raw) {
    QString text = displayText(raw);
    if (text.endsWith('\n')) {
        text.chop(1);
    }
    return text;
}

// The box shows the status lines, then the hint (or nothing more).
bool showsLinesThen(CBaseWindow& dialog, const QString& hint) {
    return waitUntil([&] { return shown(dialog) == asShown(dialog.statusText() + hint); });
}

bool downloaded(CCaptureWindow& dialog) {
    return press(dialog, kReadData) && waitUntil([&] {
               return !dialog.worker().running() && dialog.statusText().contains("Packets Read:");
           });
}

TEST(CaptureHintsTest, NoAltimeterGetsTheCableHintUntilOneIsPluggedIn) {
    device::sim::SimConfig config = testing::instantConfig();
    config.attached = false;
    SimRig rig(config);
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    EXPECT_EQ(dialog.statusText(), "Device not found.\r\n");
    ASSERT_TRUE(showsLinesThen(dialog, noAltimeterHint()));
    EXPECT_TRUE(shown(dialog).startsWith("Device not found.\nHint: check"));
    EXPECT_TRUE(noAltimeterHint().contains("tevusb-cli devices"));
    EXPECT_TRUE(tevusb::testing::saveShot(*dialog.window(), "download_data_no_altimeter.png"));
    // A command that arrives anyway: the same hint after its lines, not twice.
    dialog.sendMessage({Message::Command, kReadData, 0, {}});
    ASSERT_TRUE(
        waitUntil([&] { return !dialog.worker().running() && enabled(dialog, kReadData); }));
    ASSERT_TRUE(showsLinesThen(dialog, noAltimeterHint()));
    EXPECT_EQ(shown(dialog).count("Hint:"), 1);
    // Plugged in: connected, and nothing is said after the lines any more.
    rig.sim().attach();
    // The button and the last line come in two messages; wait for both.
    EXPECT_TRUE(waitUntil([&] {
        return enabled(dialog, kReadData) &&
               dialog.statusText().endsWith("Current device firmware version: 1.50\r\n");
    })) << dialog.statusText().toStdString();
    ASSERT_TRUE(showsLinesThen(dialog, {}));
}

TEST(CaptureHintsTest, OnlyTheNotFoundCaseGetsTheCableHint) {
    {
        device::sim::SimConfig config = testing::instantConfig();
        config.bootloader = true;
        SimRig rig(config);
        CCaptureWindow dialog(nullptr, nullptr, nullptr);
        ASSERT_TRUE(testing::open(dialog, rig.device));
        EXPECT_TRUE(dialog.statusText().startsWith("Device found, but is in bootloader mode."));
        EXPECT_TRUE(showsLinesThen(dialog, {}));
    }
    {
        SimRig rig;
        rig.sim().setRefuseOpen(true);
        CCaptureWindow dialog(nullptr, nullptr, nullptr);
        ASSERT_TRUE(testing::open(dialog, rig.device));
        EXPECT_TRUE(dialog.statusText().startsWith("Device found. Unable to connect to device."));
        EXPECT_TRUE(showsLinesThen(dialog, cannotOpenHint()));
#ifdef __linux__
        EXPECT_TRUE(cannotOpenHint().contains("70-tevusb.rules"));
#endif
    }
}

TEST(CaptureHintsTest, AnEmptyAltimeterIsSaidToHoldNoFlightsAfterTheDownloadLines) {
    SimRig rig(testing::instantConfig(0));
    CCaptureWindow dialog(nullptr, &rig.graph, &rig.surface);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(showsLinesThen(dialog, {}));
    ASSERT_TRUE(downloaded(dialog));
    EXPECT_EQ(rig.device.store.setCount(), 0);
    EXPECT_TRUE(dialog.statusText().endsWith("Data read successfully.\r\nPackets Read: " +
                                             QString::number(rig.device.store.packets.size()) +
                                             "\r\n"));
    ASSERT_TRUE(showsLinesThen(dialog, "The altimeter holds no flights.\r\n"));
    EXPECT_TRUE(tevusb::testing::saveShot(*dialog.window(), "download_data_no_flights.png"));
    // Read again, it is said once, after the new lines.
    ASSERT_TRUE(downloaded(dialog));
    ASSERT_TRUE(showsLinesThen(dialog, "The altimeter holds no flights.\r\n"));
    EXPECT_EQ(shown(dialog).count("holds no flights"), 1);
}

TEST(CaptureHintsTest, AnAltimeterWithFlightsGetsNoLineAfterTheDownload) {
    SimRig rig;
    CCaptureWindow dialog(nullptr, &rig.graph, &rig.surface);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(downloaded(dialog));
    EXPECT_EQ(rig.device.store.setCount(), 3);
    EXPECT_TRUE(showsLinesThen(dialog, {}));
    EXPECT_FALSE(shown(dialog).contains("holds no flights"));
}

}  // namespace
}  // namespace tevusb::ui
