// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QTest>

#include "data/altitude_converter.h"
#include "support/dialog_fixture.h"
#include "support/log_capture.h"
#include "ui/dialogs/control_options_window.h"

namespace tevusb::ui {
namespace {

using namespace std::chrono_literals;
using testing::enabled;
using testing::press;
using testing::SimRig;
using testing::waitUntil;

constexpr int kEmulate = 1039;
constexpr int kReadPressure = 1040;
constexpr int kReadBattery = 1041;
constexpr int kFireLines = 1042;

// Downloads the flights and makes `k` the set the main window shows.
void showFlight(SimRig& rig, int k) {
    ASSERT_EQ(rig.device.connect(device::ConnectMode::Application), device::result::kConnected);
    ASSERT_EQ(rig.device.readFlightMemory(nullptr, nullptr), 0);
    ASSERT_TRUE(rig.device.store.selectSet(k));
}

bool idle(CControlOptionsWindow& dialog) {
    return !dialog.worker().running() && enabled(dialog, kReadBattery);
}

TEST(ControlOptionsTest, EmulateNeedsAFlightTheOtherButtonsOnlyAnOpenLink) {
    SimRig rig;
    CControlOptionsWindow dialog(nullptr, &rig.graph);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    EXPECT_EQ(dialog.window()->windowTitle(), "Control Options");
    EXPECT_FALSE(enabled(dialog, kEmulate));
    for (int id : {kReadPressure, kReadBattery, kFireLines, 1004}) {
        EXPECT_TRUE(enabled(dialog, id)) << id;
    }
    rig.sim().detach();
    ASSERT_TRUE(
        waitUntil([&] { return dialog.statusText().endsWith("Device disconnected.\r\n"); }));
    for (int id : {kEmulate, kReadPressure, kReadBattery, kFireLines}) {
        EXPECT_FALSE(enabled(dialog, id)) << id;
    }
    EXPECT_TRUE(enabled(dialog, 1004));
    // A command that arrives anyway says the altimeter is missing.
    dialog.sendMessage({Message::Command, kReadBattery, 0, {}});
    ASSERT_TRUE(waitUntil([&] { return !dialog.worker().running(); }));
    ASSERT_TRUE(waitUntil([&] {
        return dialog.statusText().endsWith(
            "Altimeter not found. Make sure it is properly connected to the PC.\r\n");
    }));
}

TEST(ControlOptionsTest, ADevicePluggedInWhileOpenIsConnectedAndEnablesTheButtons) {
    device::sim::SimConfig config = testing::instantConfig();
    config.attached = false;
    SimRig rig(config);
    CControlOptionsWindow dialog(nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    EXPECT_EQ(dialog.statusText(), "Device not found.\r\n");
    EXPECT_FALSE(enabled(dialog, kReadBattery));
    rig.sim().attach();
    ASSERT_TRUE(waitUntil([&] { return enabled(dialog, kReadBattery); }));
    EXPECT_TRUE(dialog.statusText().endsWith(
        "Device Connected.\r\nCurrent device firmware version: 1.50\r\n"));
    // Another interface going away only logs.
    tevusb::testing::LogCapture log;
    dialog.sendMessage({Message::DeviceChange, kDeviceRemoveComplete, 0, "/dev/hidraw-other"});
    EXPECT_EQ(log.count("Device Change."), 1);
    EXPECT_TRUE(rig.device.link.isOpen());
    EXPECT_TRUE(enabled(dialog, kReadBattery));
}

TEST(ControlOptionsTest, BatteryIsShownInVolts) {
    SimRig rig;
    rig.sim().setBatteryTenths(84);
    CControlOptionsWindow dialog(nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    tevusb::testing::LogCapture log;
    ASSERT_TRUE(press(dialog, kReadBattery));
    ASSERT_TRUE(waitUntil([&] {
        return idle(dialog) &&
               log.text().find("Notifying connection...\nDone.\n") != std::string::npos;
    }));
    EXPECT_TRUE(dialog.statusText().endsWith("Current Voltage: 8.4 Volts\r\n"));
}

TEST(ControlOptionsTest, PressureUsesTheDeviceCalibrationAndLeavesTheRecordAsItWas) {
    SimRig rig;
    settings::DeviceSettings onDevice;
    onDevice.adcOffset = 120;
    onDevice.build();
    rig.sim().setSettingsImage(onDevice.image);
    rig.device.store.settings.inhibitTime = 77;
    rig.device.store.settings.build();
    const settings::DeviceSettings before = rig.device.store.settings;

    CControlOptionsWindow dialog(nullptr, &rig.graph);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(press(dialog, kReadPressure));
    ASSERT_TRUE(waitUntil([&] { return idle(dialog) && dialog.statusText().contains("Meters"); }));
    const QString text = dialog.statusText();
    const qsizetype at = text.indexOf("\r\nCurrent ADC: ");
    ASSERT_GE(at, 0);
    const QStringList lines = text.mid(at + 2).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    const int count = lines[0].mid(QString("Current ADC: ").size()).toInt();
    const data::AltitudeConverter converter(120);
    EXPECT_EQ(lines[1],
              QString("Current Voltage: %1 Volts").arg(converter.voltage(count), 0, 'g', 6));
    EXPECT_TRUE(lines[2].startsWith("Current Pressure: ") && lines[2].endsWith(" kPa"));
    // The altimeter sits at 152 m; its offset moves the altitude the count means.
    const double altitude =
        lines[3].mid(QString("Current MSL Altitude: ").size()).chopped(7).toDouble();
    EXPECT_NEAR(altitude, converter.altitude(count), 0.01);
    EXPECT_NE(static_cast<int>(altitude),
              static_cast<int>(data::AltitudeConverter(0).altitude(count)));
    EXPECT_EQ(rig.device.store.settings.image, before.image);
    EXPECT_EQ(rig.device.store.settings.inhibitTime, 77);
    EXPECT_EQ(rig.device.store.settings.adcOffset, before.adcOffset);
}

TEST(ControlOptionsTest, AFailedSettingsReadKeepsTheRecord) {
    SimRig rig;
    CControlOptionsWindow dialog(nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    const settings::DeviceSettings before = rig.device.store.settings;
    rig.sim().injectNoReplyToNextCommand();
    ASSERT_TRUE(press(dialog, kReadPressure));
    ASSERT_TRUE(waitUntil([&] { return idle(dialog); }));
    ASSERT_TRUE(
        waitUntil([&] { return dialog.statusText().endsWith("Failed to read settings.\r\n"); }));
    EXPECT_EQ(rig.device.store.settings.image, before.image);
}

TEST(ControlOptionsTest, FiringAsksFirstAndNoLeavesTheLinesAlone) {
    SimRig rig;
    CControlOptionsWindow dialog(nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    const QString before = dialog.statusText();

    rig.prompts.answer(MessageResult::No);
    ASSERT_TRUE(press(dialog, kFireLines));
    ASSERT_EQ(rig.prompts.boxes().size(), 1u);
    EXPECT_EQ(rig.prompts.boxes()[0].type, kMbYesNo | kMbIconExclamation);
    EXPECT_EQ(rig.prompts.boxes()[0].caption, "TEV USB 1.50");
    EXPECT_FALSE(dialog.worker().started());
    QTest::qWait(20);
    EXPECT_EQ(rig.sim().fireCount(), 0);
    EXPECT_EQ(dialog.statusText(), before);

    rig.prompts.answer(MessageResult::Yes);
    ASSERT_TRUE(press(dialog, kFireLines));
    ASSERT_TRUE(
        waitUntil([&] { return idle(dialog) && dialog.statusText().endsWith("Done.\r\n"); }));
    EXPECT_EQ(rig.sim().fireCount(), 1);
    EXPECT_TRUE(dialog.statusText().endsWith("Firing both lines for 2 seconds...\r\nDone.\r\n"));
}

TEST(ControlOptionsTest, FireAndEmulationBoxesSayWhatTheLinesWillDo) {
    SimRig rig;
    showFlight(rig, 0);
    CControlOptionsWindow dialog(nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    rig.prompts.answer(MessageResult::No);
    ASSERT_TRUE(press(dialog, kFireLines));
    ASSERT_EQ(rig.prompts.boxes().size(), 1u);
    EXPECT_EQ(rig.prompts.boxes()[0].text,
              "Fire both ejection lines for 2 seconds?\n\nBoth ejection lines will be energised "
              "for 2 seconds. Charges or igniters connected to them will fire.");
    EXPECT_EQ(rig.sim().fireCount(), 0);

    ASSERT_TRUE(press(dialog, kEmulate));
    ASSERT_EQ(rig.prompts.boxes().size(), 2u);
    const auto notice = rig.prompts.boxes()[1];
    EXPECT_EQ(notice.text,
              "You may now connect the battery to the device if you want a real time launch. "
              "Click OK when connected or ignore.\n\nRemove all charges and igniters from the "
              "ejection lines before a real-time launch.");
    EXPECT_EQ(notice.caption, "TEV USB 1.50");
    EXPECT_EQ(notice.type, kMbOk | kMbIconInformation);
    // Closing ends the replay, which is not what this is about.
    dialog.sendMessage({Message::Close, 0, 0, {}});
    ASSERT_TRUE(waitUntil([&] { return !dialog.window()->isVisible(); }));
}

TEST(ControlOptionsTest, EmulationShowsTheNoticeFirstThenTheFlightsEvents) {
    SimRig rig;
    showFlight(rig, 0);
    CControlOptionsWindow dialog(nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(enabled(dialog, kEmulate));
    const qsizetype start = dialog.statusText().size();
    ASSERT_TRUE(press(dialog, kEmulate));
    ASSERT_GE(rig.prompts.boxes().size(), 1u);
    EXPECT_TRUE(rig.prompts.boxes()[0].text.startsWith("You may now connect the battery"));
    EXPECT_EQ(rig.prompts.boxes()[0].type, kMbIconInformation);
    ASSERT_TRUE(waitUntil([&] { return idle(dialog) && dialog.statusText().endsWith("Done.\r\n"); },
                          20000));
    const QString events = dialog.statusText().mid(start);
    EXPECT_TRUE(events.startsWith("Emulating...\r\n"));
    EXPECT_TRUE(events.contains("Launch Time (s): 1\r\n"));
    EXPECT_TRUE(events.contains("Launch detected.\r\n"));
    EXPECT_TRUE(events.contains("Apogee detected.\r\n"));
    EXPECT_LT(events.indexOf("Launch detected."), events.indexOf("Apogee detected."));
    EXPECT_GT(rig.sim().emulationSamples(), 10);
}

TEST(ControlOptionsTest, ClosingDuringAnEmulationEndsItAndThenTheDialog) {
    device::sim::SimConfig config = testing::instantConfig();
    config.timing.samplePace = 5ms;
    SimRig rig(config);
    showFlight(rig, 0);
    const auto total = rig.device.store.current.adcCounts.size();
    CControlOptionsWindow dialog(nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(press(dialog, kEmulate));
    ASSERT_TRUE(waitUntil([&] { return dialog.statusText().contains("Launch Time (s): 1\r\n"); }));
    dialog.sendMessage({Message::Close, 0, 0, {}});
    EXPECT_TRUE(dialog.closing());
    // Removal while closing is ignored: the link stays as it is.
    dialog.sendMessage({Message::DeviceChange, kDeviceRemoveComplete, 0, rig.sim().path()});
    EXPECT_FALSE(dialog.statusText().contains("Device disconnected."));
    ASSERT_TRUE(waitUntil([&] { return !dialog.window()->isVisible(); }));
    EXPECT_FALSE(dialog.worker().running());
    EXPECT_LT(static_cast<std::size_t>(rig.sim().emulationSamples()), total);
}

TEST(ControlOptionsTest, AnArrivalDuringAnEmulationIsCheckedOnceItHasEnded) {
    device::sim::SimConfig config = testing::instantConfig();
    config.timing.samplePace = 5ms;
    SimRig rig(config);
    showFlight(rig, 0);
    CControlOptionsWindow dialog(nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_EQ(dialog.statusText().count("Device Connected."), 1);
    ASSERT_TRUE(press(dialog, kEmulate));
    ASSERT_TRUE(waitUntil([&] { return dialog.statusText().contains("Launch Time (s): 1\r\n"); }));
    // Another USB device arriving must not reconnect under the replay.
    dialog.sendMessage({Message::DeviceChange, kDeviceArrival, 0, "/dev/hidraw-other"});
    dialog.sendMessage({Message::DeviceChange, kDeviceArrival, 0, "/dev/hidraw-third"});
    EXPECT_EQ(dialog.statusText().count("Device Connected."), 1);
    EXPECT_FALSE(enabled(dialog, kReadBattery));
    ASSERT_TRUE(waitUntil(
        [&] { return idle(dialog) && dialog.statusText().count("Device Connected.") == 2; },
        20000));
    const QString text = dialog.statusText();
    // The replay ran to its end undisturbed; one check afterwards covers both arrivals.
    const qsizetype done = text.lastIndexOf("Done.\r\n");
    ASSERT_GE(done, 0);
    EXPECT_GT(text.lastIndexOf("Device Connected."), done);
    EXPECT_TRUE(text.contains("Apogee detected.\r\n"));
    EXPECT_TRUE(rig.device.link.isOpen());
}

}  // namespace
}  // namespace tevusb::ui
