// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QLabel>
#include <atomic>
#include <chrono>
#include <thread>

#include "device/altimeter_device.h"
#include "fake_backend.h"
#include "support/log_capture.h"
#include "test_dialog.h"
#include "ui/connect_check.h"

namespace tevusb::ui {
namespace {

using testing::altimeter;
using testing::bootloader;
using testing::FakeBackend;
using testing::TestDialog;
using testing::waitUntil;
using tevusb::testing::LogCapture;
using K = ControlKind;

DialogTemplate deviceTemplate() {
    DialogTemplate t;
    t.id = 505;
    t.clientWidth = 200;
    t.clientHeight = 120;
    t.controls = {
        {1033, K::Icon, "", QRect(5, 5, 16, 16), 109},
        {1003, K::StatusBox, "", QRect(40, 5, 150, 80)},
    };
    return t;
}

// The connect check alone, on a dialog that is never shown.
struct CheckFixture {
    std::shared_ptr<FakeBackend> backend = std::make_shared<FakeBackend>(false);
    device::AltimeterDevice device{backend};
    TestDialog dialog{deviceTemplate(), nullptr};

    QString check() {
        dialog.setDevice(&device);
        dialog.connectCheck();
        return dialog.statusText();
    }
};

TEST(ConnectCheckTest, NoDeviceIsReported) {
    CheckFixture f;
    EXPECT_EQ(f.check(), "Device not found.\r\n");
    EXPECT_FALSE(f.device.link.isOpen());
}

TEST(ConnectCheckTest, CompatibleFirmwareConnectsAndShowsItsVersion) {
    CheckFixture f;
    f.backend->plug(altimeter(0x015A));
    EXPECT_EQ(f.check(), "Device Connected.\r\nCurrent device firmware version: 1.5a\r\n");
    EXPECT_TRUE(f.device.link.isOpen());
    EXPECT_FALSE(f.device.isBootloader());
}

TEST(ConnectCheckTest, DeviceInUseElsewhereIsReportedInOneText) {
    CheckFixture f;
    f.backend->plug(altimeter(), false);
    EXPECT_EQ(f.check(),
              "Device found. Unable to connect to device.\r\n"
              "Please ensure it is not being used by another application.\r\n"
              "Removing the device and re-attaching it should correct this.\r\n");
    EXPECT_FALSE(f.device.link.isOpen());
}

TEST(ConnectCheckTest, IncompatibleFirmwareShowsBothVersionsAndStaysClosed) {
    CheckFixture f;
    f.backend->plug(altimeter(0x0205));
    EXPECT_EQ(f.check(),
              "Device found, but has incompatible firmware version.\r\n"
              "Current device firmware version: 2.05\r\n"
              "Required device firmware version: 1.50\r\n");
    EXPECT_FALSE(f.device.link.isOpen());
}

TEST(ConnectCheckTest, BootloaderModeAsksForAReconnectAndLeavesTheLinkClosed) {
    CheckFixture f;
    f.backend->plug(bootloader());
    EXPECT_EQ(f.check(),
              "Device found, but is in bootloader mode.\r\nPlease reconnect the device.\r\n");
    EXPECT_FALSE(f.device.link.isOpen());
    EXPECT_FALSE(f.device.isBootloader());
}

// A device dialog as the real ones wire it: notifications, the check at the start and on
// arrival, the common removal handling, and a refresh after every change.
struct DeviceDialog {
    explicit DeviceDialog(bool withNotifier)
        : backend(std::make_shared<FakeBackend>(withNotifier)), device(backend) {}

    std::shared_ptr<FakeBackend> backend;
    device::AltimeterDevice device;
    std::vector<bool> refreshes;  // the link state each refresh saw
    std::vector<bool> busyFlags;  // what each refresh was told
    TestDialog dialog{deviceTemplate(),
                      [this](TestDialog& d, const DialogMessage& m) { return handle(d, m); }};

    bool handle(TestDialog& d, const DialogMessage& m) {
        auto refresh = [this, &d](bool busy) {
            busyFlags.push_back(busy);
            refreshes.push_back(device.link.isOpen());
            d.setConnectionIcon(1033, device.link.isOpen());
        };
        switch (m.message) {
            case Message::InitDialog:
                d.setDevice(&device);
                d.registerDeviceNotifications(backend);
                d.connectCheck();
                refresh(false);
                return true;
            case Message::DeviceChange:
                d.handleDeviceChange(
                    m, [&d] { d.connectCheck(); }, refresh);
                return true;
            default:
                return false;
        }
    }

    bool waitForStatus(const QString& text) {
        return waitUntil([&] { return dialog.statusText().contains(text); });
    }
};

TEST(DeviceChangeTest, ArrivalConnectsAndRemovalOfTheOpenedDeviceDisconnects) {
    LogCapture log;
    DeviceDialog d(true);
    ASSERT_TRUE(d.dialog.create(nullptr));
    EXPECT_EQ(d.dialog.statusText(), "Device not found.\r\n");
    const QImage notConnected = qobject_cast<QLabel*>(d.dialog.item(1033))->pixmap().toImage();

    d.backend->plug(altimeter());
    ASSERT_TRUE(d.waitForStatus("Device Connected.\r\n"));
    EXPECT_TRUE(d.device.link.isOpen());
    EXPECT_EQ(log.count("Device Change."), 1);
    ASSERT_EQ(d.refreshes.size(), 2u);
    EXPECT_TRUE(d.refreshes.back());
    EXPECT_FALSE(d.busyFlags.back());
    EXPECT_NE(qobject_cast<QLabel*>(d.dialog.item(1033))->pixmap().toImage(), notConnected);

    // Some other HID device comes and goes: noted, refreshed, nothing said.
    d.backend->plug({"/dev/hidraw9", 0x046D, 0xC077, 0x0100});
    ASSERT_TRUE(waitUntil([&] { return d.refreshes.size() == 3; }));
    d.backend->unplug("/dev/hidraw9");
    ASSERT_TRUE(waitUntil([&] { return d.refreshes.size() == 4; }));
    EXPECT_FALSE(d.dialog.statusText().contains("disconnected"));
    EXPECT_TRUE(d.device.link.isOpen());

    d.backend->unplug("/dev/hidraw3");
    ASSERT_TRUE(d.waitForStatus("Device disconnected.\r\n"));
    EXPECT_FALSE(d.device.link.isOpen());
    EXPECT_FALSE(d.refreshes.back());
    EXPECT_EQ(qobject_cast<QLabel*>(d.dialog.item(1033))->pixmap().toImage(), notConnected);
    EXPECT_EQ(log.count("Device Change."), 4);
}

TEST(DeviceChangeTest, AnArrivalWhileAWorkerRunsWaitsForItAndKeepsTheLink) {
    DeviceDialog d(true);
    d.backend->plug(altimeter());
    ASSERT_TRUE(d.dialog.create(nullptr));
    ASSERT_TRUE(d.device.link.isOpen());
    const int opens = d.backend->opens();
    std::atomic<bool> release{false};
    ASSERT_TRUE(d.dialog.startWorker([&] {
        while (!release) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return 0;
    }));

    // A keyboard is plugged in during the transfer.
    d.backend->plug({"/dev/hidraw7", 0x046D, 0xC31C, 0x6400});
    ASSERT_TRUE(waitUntil([&] { return d.refreshes.size() == 2; }));
    EXPECT_TRUE(d.busyFlags.back());
    waitUntil([] { return false; }, 250);
    EXPECT_EQ(d.backend->opens(), opens);  // the link was not reopened under the worker
    EXPECT_EQ(d.dialog.statusText().count("Device Connected."), 1);

    release = true;
    ASSERT_TRUE(waitUntil([&] { return d.dialog.statusText().count("Device Connected.") == 2; }));
    EXPECT_EQ(d.backend->opens(), opens + 1);
    ASSERT_TRUE(waitUntil([&] { return d.refreshes.size() == 3; }));
    EXPECT_FALSE(d.busyFlags.back());
    EXPECT_TRUE(d.refreshes.back());
}

TEST(DeviceChangeTest, WithoutASystemSignalThePeriodicCheckStillSeesTheDevice) {
    DeviceDialog d(false);
    ASSERT_TRUE(d.dialog.create(nullptr));
    d.backend->plug(altimeter(0x0151));
    ASSERT_TRUE(d.waitForStatus("Current device firmware version: 1.51\r\n"));
    EXPECT_TRUE(d.device.link.isOpen());
}

TEST(DeviceChangeTest, ADeviceAlreadyThereWhenTheDialogOpensIsNoArrival) {
    LogCapture log;
    DeviceDialog d(true);
    d.backend->plug(altimeter());
    ASSERT_TRUE(d.dialog.create(nullptr));
    waitUntil([] { return false; }, 300);
    EXPECT_EQ(d.dialog.statusText(),
              "Device Connected.\r\nCurrent device firmware version: 1.50\r\n");
    EXPECT_EQ(log.count("Device Change."), 0);
}

}  // namespace
}  // namespace tevusb::ui

namespace tevusb::ui {
namespace {

TEST(ConnectCheckTest, BootloaderCheckConnectsOnlyToABootloader) {
    auto backend = std::make_shared<testing::FakeBackend>(false);
    device::AltimeterDevice device(backend);
    testing::TestDialog dialog(deviceTemplate(), nullptr);
    backend->plug(testing::altimeter());
    connectCheckBootloader(dialog, device);
    EXPECT_EQ(dialog.statusText(),
              "Device found, but is not in bootloader mode.\r\n"
              "Please reconnect the device in bootloader mode.\r\n");
    EXPECT_FALSE(device.link.isOpen());
    backend->unplug("/dev/hidraw3");
    backend->plug(testing::bootloader());
    connectCheckBootloader(dialog, device);
    EXPECT_TRUE(dialog.statusText().endsWith(
        "Device connected in bootloader mode.\r\nDevice bootloader version: 1.10\r\n"));
    EXPECT_TRUE(device.link.isOpen());
    EXPECT_TRUE(device.isBootloader());
}

}  // namespace
}  // namespace tevusb::ui
