// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTest>

#include "graph/graph_palette.h"
#include "support/dialog_fixture.h"
#include "support/log_capture.h"
#include "support/scoped_library.h"
#include "ui/dialogs/capture_ids.h"
#include "ui/dialogs/capture_window.h"
#include "ui/dialogs/memory_map.h"

namespace tevusb::ui {
namespace {

using namespace capture_ids;
using namespace std::chrono_literals;
using testing::enabled;
using testing::press;
using testing::SimRig;
using testing::waitUntil;

device::sim::SimConfig slowConfig() {
    device::sim::SimConfig config = testing::instantConfig(3);
    config.timing.reportDelay = 300us;
    return config;
}

void tick(CCaptureWindow& dialog, int id) {
    qobject_cast<QCheckBox*>(dialog.item(id))->setChecked(true);
}

TEST(CaptureDeviceTest, ClosingDuringADownloadWaitsForTheWorkerAndLeavesNoImage) {
    SimRig rig(slowConfig());
    rig.device.store.current.adcCounts = {1, 2, 3};
    rig.device.store.current.setIndex = 2;
    CCaptureWindow dialog(nullptr, &rig.graph, &rig.surface);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_EQ(dialog.selectedSet(), 2);
    ASSERT_TRUE(press(dialog, kReadData));
    ASSERT_TRUE(waitUntil([&] { return dialog.statusText().contains("Packet Read: 2\r\n"); }));
    // A click on the strip while the worker fills the image changes nothing.
    QWidget* map = dialog.item(kMap);
    QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(1, 2));
    EXPECT_EQ(dialog.selectedSet(), 2);
    tevusb::testing::LogCapture log;
    dialog.sendMessage({Message::Close, 0, 0, {}});
    ASSERT_TRUE(waitUntil([&] { return !dialog.window()->isVisible(); }));
    EXPECT_FALSE(dialog.worker().running());
    EXPECT_TRUE(rig.device.store.packets.empty());
    EXPECT_TRUE(rig.device.store.current.adcCounts.empty());
    EXPECT_GE(log.count("Canceled IO."), 1);
    EXPECT_EQ(log.count("Thread has exited."), 1);
}

TEST(CaptureDeviceTest, ClearDeviceAsksFirstAndEmptiesDeviceAndStrip) {
    // The download keeps every flight in the library, so the clear has nothing to lose.
    tevusb::testing::ScopedLibrary library;
    SimRig rig;
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(press(dialog, kReadData));
    ASSERT_TRUE(waitUntil([&] { return enabled(dialog, kSaveAll); }));
    const int used = rig.sim().usedPackets();
    ASSERT_GT(used, 0);

    rig.prompts.answer(MessageResult::No);
    ASSERT_TRUE(press(dialog, kClearDevice));
    ASSERT_EQ(rig.prompts.boxes().size(), 1u);
    EXPECT_EQ(rig.prompts.boxes()[0].text, "Are you sure?");
    EXPECT_EQ(rig.prompts.boxes()[0].type, kMbYesNo | kMbIconExclamation);
    EXPECT_EQ(rig.sim().clearCount(), 0);
    EXPECT_FALSE(dialog.worker().started() && dialog.worker().running());

    rig.prompts.answer(MessageResult::Yes);
    ASSERT_TRUE(press(dialog, kClearDevice));
    ASSERT_TRUE(waitUntil([&] {
        return dialog.statusText().endsWith("Data cleared successfully.\r\n") &&
               !dialog.worker().running() && enabled(dialog, kReadData);
    }));
    EXPECT_EQ(rig.sim().clearCount(), 1);
    EXPECT_EQ(rig.sim().usedPackets(), 0);
    EXPECT_EQ(rig.prompts.boxes().size(), 2u);  // no question about flights not kept
    EXPECT_TRUE(rig.device.store.packets.empty());
    EXPECT_EQ(dialog.memoryMap().pixel(0, 0), kMapEmpty);
    EXPECT_FALSE(enabled(dialog, kSaveAll));
    EXPECT_FALSE(enabled(dialog, kSelectClose));
}

TEST(CaptureDeviceTest, ClearingFlightsNoLibraryKeepsAsksAndCancelKeepsThem) {
    tevusb::testing::ScopedLibrary library;
    SimRig rig;
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    const int used = rig.sim().usedPackets();
    rig.prompts.answer(MessageResult::Yes);  // "Are you sure?"; the next question: Cancel
    ASSERT_TRUE(press(dialog, kClearDevice));
    ASSERT_TRUE(
        waitUntil([&] { return rig.prompts.boxes().size() == 2 && !dialog.worker().running(); }));
    const auto asked = rig.prompts.boxes()[1];
    EXPECT_TRUE(
        asked.text.contains("3 flights (sets 1, 2 and 3) that are not in the flight "
                            "library"))
        << asked.text.toStdString();
    EXPECT_TRUE(asked.text.contains("Clearing the device erases"));
    EXPECT_EQ(rig.sim().clearCount(), 0);
    EXPECT_EQ(rig.sim().usedPackets(), used);
    ASSERT_TRUE(waitUntil([&] { return enabled(dialog, kClearDevice); }));

    rig.prompts.answer(MessageResult::Yes);
    rig.prompts.pick(0);  // download them first
    ASSERT_TRUE(press(dialog, kClearDevice));
    ASSERT_TRUE(waitUntil([&] {
        return dialog.statusText().endsWith("Data cleared successfully.\r\n") &&
               !dialog.worker().running();
    }));
    EXPECT_EQ(library.flightCount(), 3u);
    EXPECT_EQ(rig.sim().usedPackets(), 0);
}

TEST(CaptureDeviceTest, WithoutADeviceReadAndClearSayTheAltimeterIsMissing) {
    device::sim::SimConfig config = testing::instantConfig();
    config.attached = false;
    SimRig rig(config);
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    EXPECT_EQ(dialog.statusText(), "Device not found.\r\n");
    EXPECT_FALSE(enabled(dialog, kReadData));
    // The buttons are disabled; a command that arrives anyway still ends in plain words.
    dialog.sendMessage({Message::Command, kReadData, 0, {}});
    ASSERT_TRUE(
        waitUntil([&] { return !dialog.worker().running() && enabled(dialog, kReadData); }));
    EXPECT_TRUE(dialog.statusText().endsWith(
        "Attempting to connect to device.\r\n"
        "Altimeter not found. Make sure it is properly connected to the PC.\r\n"));
}

TEST(CaptureDeviceTest, AFailedLiveDownloadLeavesTheDialogOpaqueAndReadDataUsable) {
    SimRig rig;
    rig.sim().injectEarlyComplete(200);
    CCaptureWindow dialog(nullptr, &rig.graph, &rig.surface);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    tick(dialog, kLiveUpdate);
    ASSERT_TRUE(press(dialog, kReadData));
    ASSERT_TRUE(waitUntil([&] {
        return dialog.statusText().endsWith("Failed to read data.\r\n") &&
               !dialog.worker().running();
    }));
    ASSERT_TRUE(waitUntil([&] { return enabled(dialog, kReadData); }));
    EXPECT_DOUBLE_EQ(dialog.window()->windowOpacity(), 1.0);
    EXPECT_TRUE(enabled(dialog, kLiveUpdate));
    EXPECT_FALSE(enabled(dialog, kSaveAll));
}

TEST(CaptureDeviceTest, LiveUpdateDrawsTheArrivingFlightIntoTheMainWindow) {
    SimRig rig;
    rig.surface.fill(0);
    int repaints = 0;
    rig.surface.setRepaintRequest([&] { ++repaints; });
    CCaptureWindow dialog(nullptr, &rig.graph, &rig.surface);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    tick(dialog, kLiveUpdate);
    ASSERT_TRUE(press(dialog, kReadData));
    ASSERT_TRUE(waitUntil([&] { return enabled(dialog, kSaveAll); }));
    EXPECT_GE(repaints, 1);
    // The buffer holds the live view of the last flight, on its own background.
    const QImage shot = rig.surface.snapshot();
    EXPECT_EQ(shot.pixel(2, 2) & 0xFFFFFF, graph::palette::kLiveBackground & 0xFFFFFF);
    EXPECT_FALSE(rig.device.store.fast.values.empty());
    EXPECT_EQ(rig.graph.scale().xSpan, rig.device.store.fast.range.width);
    EXPECT_DOUBLE_EQ(dialog.window()->windowOpacity(), 1.0);
}

TEST(CaptureDeviceTest, WithoutLiveUpdateTheMainWindowIsLeftAlone) {
    SimRig rig;
    rig.surface.fill(0x123456);
    CCaptureWindow dialog(nullptr, &rig.graph, &rig.surface);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(press(dialog, kReadData));
    ASSERT_TRUE(waitUntil([&] { return enabled(dialog, kSaveAll); }));
    EXPECT_EQ(rig.surface.snapshot().pixel(5, 5) & 0xFFFFFF, 0x123456u);
}

TEST(CaptureDeviceTest, RemovalOfAnotherDeviceOnlyLogsAndTheOwnRemovalDisconnects) {
    SimRig rig;
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    const QString before = dialog.statusText();
    {
        tevusb::testing::LogCapture log;
        dialog.sendMessage({Message::DeviceChange, kDeviceRemoveComplete, 0, "/dev/hidraw-other"});
        EXPECT_EQ(log.count("Device Change."), 1);
    }
    EXPECT_EQ(dialog.statusText(), before);
    EXPECT_TRUE(rig.device.link.isOpen());
    EXPECT_TRUE(enabled(dialog, kReadData));

    rig.sim().detach();
    ASSERT_TRUE(
        waitUntil([&] { return dialog.statusText().endsWith("Device disconnected.\r\n"); }));
    EXPECT_FALSE(rig.device.link.isOpen());
    EXPECT_FALSE(enabled(dialog, kReadData));
}

TEST(CaptureDeviceTest, ADevicePluggedInWhileTheDialogIsOpenIsConnected) {
    device::sim::SimConfig config = testing::instantConfig();
    config.attached = false;
    SimRig rig(config);
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_FALSE(enabled(dialog, kReadData));
    rig.sim().attach();
    ASSERT_TRUE(waitUntil([&] { return rig.device.link.isOpen() && enabled(dialog, kReadData); }));
    EXPECT_TRUE(dialog.statusText().endsWith(
        "Device Connected.\r\nCurrent device firmware version: 1.50\r\n"));
}

TEST(CaptureDeviceTest, AnArrivalDuringADownloadWaitsUntilTheDownloadHasEnded) {
    SimRig rig(slowConfig());
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(press(dialog, kReadData));
    ASSERT_TRUE(waitUntil([&] { return dialog.statusText().contains("Packet Read: 1\r\n"); }));
    dialog.sendMessage({Message::DeviceChange, kDeviceArrival, 0, "/dev/hidraw-other"});
    ASSERT_TRUE(
        waitUntil([&] { return !dialog.worker().running() && enabled(dialog, kReadData); }));
    QTest::qWait(20);
    const QString text = dialog.statusText();
    // The download ran to its end undisturbed, and the deferred check came after it.
    const qsizetype done = text.indexOf("Data read successfully.");
    ASSERT_GE(done, 0);
    EXPECT_EQ(text.count("Device Connected."), 2);
    EXPECT_GT(text.lastIndexOf("Device Connected."), done);
    EXPECT_EQ(static_cast<int>(rig.device.store.packets.size()), rig.sim().usedPackets());
}

}  // namespace
}  // namespace tevusb::ui
