// SPDX-License-Identifier: MIT
// The device operations as the fronts start them: each connect outcome under its own name
// with its entries, the progress a download and an update report, and a cancel through
// the caller's flag.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "device/altimeter_device.h"
#include "device/device_tasks.h"
#include "device/sim/sim_backend.h"
#include "support/firmware_builder.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tevusb::device::testing {
namespace {

using tevusb::testing::LogCapture;

sim::SimConfig instant() {
    sim::SimConfig config;
    config.flights = 2;
    config.timing = sim::SimTiming::instant();
    return config;
}

class OperationsTest : public ::testing::Test {
  protected:
    OperationsTest()
        : backend(std::make_shared<sim::SimBackend>(instant())),
          altimeter(backend->altimeter()),
          device(backend) {}

    std::shared_ptr<sim::SimBackend> backend;
    sim::SimAltimeter& altimeter;
    AltimeterDevice device;
    LogCapture log;
};

TEST_F(OperationsTest, EachConnectOutcomeHasItsNameAndItsEntries) {
    auto op = connectApplication(device);
    EXPECT_EQ(op.result, DeviceResult::Connected);
    EXPECT_EQ(op.value.version, 0x0150);
    EXPECT_EQ(op.entries, (StatusEntries{"Device Connected.\r\n",
                                         "Current device firmware version: 1.50\r\n"}));
    EXPECT_TRUE(device.link.isOpen());

    altimeter.setFirmwareVersion(0x0160);
    op = connectApplication(device);
    EXPECT_EQ(op.result, DeviceResult::WrongVersion);
    EXPECT_EQ(op.entries, (StatusEntries{"Device found, but has incompatible firmware version.\r\n",
                                         "Current device firmware version: 1.60\r\n",
                                         "Required device firmware version: 1.50\r\n"}));
    EXPECT_FALSE(device.link.isOpen());

    altimeter.setFirmwareVersion(0x0150);
    altimeter.setRefuseOpen(true);
    op = connectApplication(device);
    EXPECT_EQ(op.result, DeviceResult::CouldNotOpen);
    ASSERT_EQ(op.entries.size(), 1u);
    EXPECT_EQ(op.entries[0].rfind("Device found. Unable to connect to device.\r\n", 0), 0u);
    altimeter.setRefuseOpen(false);

    altimeter.switchToBootloader();
    op = connectApplication(device);
    EXPECT_EQ(op.result, DeviceResult::NoDevice);
    EXPECT_EQ(op.entries, (StatusEntries{"Device found, but is in bootloader mode.\r\n",
                                         "Please reconnect the device.\r\n"}));
    EXPECT_FALSE(device.link.isOpen()) << "the bootloader found on the way is let go";

    altimeter.detach();
    op = connectApplication(device);
    EXPECT_EQ(op.result, DeviceResult::NoDevice);
    EXPECT_EQ(op.entries, StatusEntries{"Device not found.\r\n"});
}

TEST_F(OperationsTest, TheBootloaderConnectNamesAnApplicationDevice) {
    auto op = connectBootloader(device);
    EXPECT_EQ(op.result, DeviceResult::NoDevice);
    EXPECT_EQ(op.entries, (StatusEntries{"Device found, but is not in bootloader mode.\r\n",
                                         "Please reconnect the device in bootloader mode.\r\n"}));
    altimeter.switchToBootloader();
    op = connectBootloader(device);
    EXPECT_EQ(op.result, DeviceResult::Connected);
    EXPECT_TRUE(device.isBootloader());
    EXPECT_EQ(op.entries.front(), "Device connected in bootloader mode.\r\n");
}

TEST_F(OperationsTest, EveryEntryIsReportedAsItIsMadeAndPacketsInOrder) {
    ASSERT_EQ(connectApplication(device).result, DeviceResult::Connected);
    StatusEntries reported;
    std::vector<Progress> steps;
    const auto op = downloadFlights(device, [&](const Progress& p) {
        if (p.kind == Progress::Kind::Entry) {
            reported.push_back(p.entry);
        } else {
            steps.push_back(p);
        }
    });
    ASSERT_EQ(op.result, DeviceResult::Success);
    EXPECT_EQ(reported, op.entries);
    EXPECT_EQ(op.entries.back(),
              "Packets Read: " + std::to_string(device.store.packets.size()) + "\r\n");

    // Per packet: words first (the first one says whether a set begins there), then its step.
    int packetsDone = 0;
    int setsBegun = 0;
    bool wordSeen = false;
    for (const Progress& p : steps) {
        EXPECT_EQ(p.total, kFlightMemoryPackets);
        if (p.kind == Progress::Kind::Word) {
            EXPECT_EQ(p.index, packetsDone);
            setsBegun += p.flag;
            wordSeen = true;
        } else {
            ASSERT_EQ(p.kind, Progress::Kind::Step);
            EXPECT_TRUE(wordSeen) << "packet " << p.index << " reported before its words";
            EXPECT_EQ(p.index, packetsDone);
            EXPECT_EQ(p.done, packetsDone + 1);
            ++packetsDone;
            wordSeen = false;
        }
    }
    EXPECT_EQ(packetsDone, static_cast<int>(device.store.packets.size()));
    EXPECT_EQ(setsBegun, device.store.setCount());
}

TEST_F(OperationsTest, TheCallersFlagStopsADownloadMidwayAndIsNotKept) {
    sim::SimTiming slow = sim::SimTiming::instant();
    slow.reportDelay = std::chrono::milliseconds(2);
    altimeter.setTiming(slow);
    ASSERT_EQ(connectApplication(device).result, DeviceResult::Connected);
    std::atomic<bool> cancel{false};
    std::atomic<int> packetsDone{0};
    Operation<> op;
    std::thread worker([&] {
        op = downloadFlights(
            device,
            [&](const Progress& p) {
                if (p.kind == Progress::Kind::Step) {
                    ++packetsDone;
                }
            },
            &cancel);
    });
    // Bounded: a download that never reports a packet fails here rather than hangs.
    for (int k = 0; k < 10000 && packetsDone == 0; ++k) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_GT(packetsDone.load(), 0);
    cancel = true;
    worker.join();
    EXPECT_EQ(op.result, DeviceResult::Cancelled);
    EXPECT_EQ(op.entries.back(), "Failed to read data.\r\n");
    EXPECT_LT(packetsDone.load(), altimeter.usedPackets());
    EXPECT_TRUE(device.store.packets.empty()) << "no half-read flights stay";
    EXPECT_FALSE(device.cancelRequested()) << "the caller's flag is only lent for the operation";

    // The next operation, with a clear flag, is not stopped by the earlier request.
    cancel = false;
    altimeter.setTiming(sim::SimTiming::instant());
    EXPECT_EQ(downloadFlights(device, {}, &cancel).result, DeviceResult::Success);
}

TEST_F(OperationsTest, ValuesAreConvertedInTheDeviceLayer) {
    ASSERT_EQ(connectApplication(device).result, DeviceResult::Connected);
    altimeter.setBatteryTenths(84);
    const auto battery = readBattery(device);
    EXPECT_EQ(battery.result, DeviceResult::Success);
    EXPECT_EQ(battery.value.tenths, 84);
    EXPECT_DOUBLE_EQ(battery.value.volts, 8.4);
    EXPECT_EQ(battery.entries, StatusEntries{"Current Voltage: 8.4 Volts\r\n"});

    const auto pressure = readPressure(device);
    EXPECT_TRUE(pressure.value.adcRead);
    ASSERT_EQ(pressure.entries.size(), 4u);
    EXPECT_EQ(pressure.entries[0],
              "\r\nCurrent ADC: " + std::to_string(pressure.value.count) + "\r\n");

    altimeter.detach();
    const auto lost = readBattery(device);
    EXPECT_FALSE(lost.ok());
    EXPECT_EQ(lost.entries, StatusEntries{"Failed.\r\n"});
}

TEST_F(OperationsTest, AnUpdateReportsEveryBlockUpToAHundredPercent) {
    altimeter.switchToBootloader();
    ASSERT_EQ(connectBootloader(device).result, DeviceResult::Connected);
    tevusb::testing::TempDir dir;
    const auto path = dir / "firmware.dat";
    FirmwareBuilder builder;
    builder.length = 64 * 12 + 10;
    for (int b = 0; b <= 12; ++b) {
        builder.fillBlock(b);
    }
    const auto bytes = builder.bytes();
    tevusb::testing::writeAll(path, std::string(bytes.begin(), bytes.end()));
    std::vector<Progress> steps;
    const auto op = updateFirmware(device, path, [&](const Progress& p) {
        if (p.kind == Progress::Kind::Step) {
            steps.push_back(p);
        }
    });
    ASSERT_EQ(op.result, DeviceResult::Success) << op.entries.back();
    EXPECT_EQ(op.entries.front(), "Updating firmware...\r\n");
    EXPECT_EQ(op.entries.back(), "Firmware updated successfully.\r\n");
    ASSERT_FALSE(steps.empty());
    for (std::size_t k = 0; k < steps.size(); ++k) {
        EXPECT_EQ(steps[k].index, static_cast<int>(k));
        EXPECT_EQ(steps[k].total, static_cast<int>(steps.size()));
        if (k > 0) {
            EXPECT_GE(steps[k].percent, steps[k - 1].percent);
        }
    }
    EXPECT_EQ(steps.back().percent, 100);
}

TEST(DeviceResultTest, ConnectsNamesAreTheProtocolsNumbers) {
    EXPECT_EQ(value(DeviceResult::NoDevice), -1);
    EXPECT_EQ(value(DeviceResult::CouldNotOpen), -2);
    EXPECT_EQ(value(DeviceResult::WrongVersion), -3);
    EXPECT_EQ(update_result::kWrongHardware, -13);
    EXPECT_TRUE(succeeded(DeviceResult::Connected));
    EXPECT_FALSE(succeeded(DeviceResult::SendFailed));
}

}  // namespace
}  // namespace tevusb::device::testing
