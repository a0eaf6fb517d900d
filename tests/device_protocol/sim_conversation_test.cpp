// SPDX-License-Identifier: MIT
// Whole conversations with the simulated altimeter: what the program reads and writes must
// match what the device holds and did, also when the device misbehaves.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "device/altimeter_device.h"
#include "device/sim/sim_backend.h"
#include "support/firmware_builder.h"
#include "support/log_capture.h"

namespace tevusb::device::testing {
namespace {

using tevusb::testing::LogCapture;

sim::SimConfig instant(int flights) {
    sim::SimConfig config;
    config.flights = flights;
    config.timing = sim::SimTiming::instant();
    return config;
}

class SimConversationTest : public ::testing::Test {
  protected:
    explicit SimConversationTest(int flights = 3)
        : backend(std::make_shared<sim::SimBackend>(instant(flights))),
          altimeter(backend->altimeter()),
          device(backend) {}

    void SetUp() override {
        ASSERT_EQ(device.connect(ConnectMode::Application), result::kConnected);
    }

    int download() { return device.readFlightMemory(nullptr, nullptr); }

    std::shared_ptr<sim::SimBackend> backend;
    sim::SimAltimeter& altimeter;
    AltimeterDevice device;
    LogCapture log;
};

TEST_F(SimConversationTest, DownloadsEveryRecordedPacketAndItsSets) {
    ASSERT_EQ(device.readSettings(), result::kSuccess);
    EXPECT_TRUE(device.store.settings.parse());
    EXPECT_EQ(device.store.settings.image, altimeter.settingsImage());

    ASSERT_EQ(download(), result::kSuccess);
    const int used = altimeter.usedPackets();
    ASSERT_GT(used, 0);
    ASSERT_EQ(static_cast<int>(device.store.packets.size()), used);
    for (int i = 0; i < used; ++i) {
        EXPECT_EQ(device.store.packets[i].bytes, altimeter.packet(i).bytes) << "packet " << i;
    }
    EXPECT_EQ(device.store.setCount(), 3);
    EXPECT_EQ(device.store.comments.size(), 3u);

    // The flight as recorded comes back as the flight decoded.
    const auto flights = altimeter.flights();
    ASSERT_TRUE(device.store.selectSet(1));
    const auto& words = flights[1].flight.words;
    ASSERT_EQ(device.store.current.adcCounts.size(), words.size());
    EXPECT_EQ(device.store.current.adcCounts.front(), words.front() & 0x3FFF);
}

TEST_F(SimConversationTest, FullMemoryGives128Packets) {
    for (int i = 0; i < 128; ++i) {
        data::MemoryPacket p;
        p.bytes.fill(0x20);
        p.bytes[0] = i % 16 == 0 ? 2 : 1;
        altimeter.setPacket(i, p);
    }
    ASSERT_EQ(download(), result::kSuccess);
    EXPECT_EQ(device.store.packets.size(), 128u);
    EXPECT_EQ(device.store.comments.size(), 8u);
}

TEST_F(SimConversationTest, SettingsWrittenAreTheSettingsKept) {
    auto& settings = device.store.settings;
    ASSERT_EQ(device.readSettings(), result::kSuccess);
    ASSERT_TRUE(settings.parse());
    settings.inhibitTime = 55;
    settings.lineAMode = 3;
    settings.lineAValue = 300;
    ASSERT_TRUE(settings.build());
    ASSERT_EQ(device.writeSettings(), result::kSuccess);
    EXPECT_EQ(altimeter.settingsImage(), settings.image);
    EXPECT_EQ(altimeter.settingsWrites(), 1);
}

TEST_F(SimConversationTest, ValueCommandsFiringAndClearing) {
    altimeter.setBatteryTenths(87);
    std::uint16_t battery = 0;
    EXPECT_EQ(device.readBattery(battery), result::kSuccess);
    EXPECT_EQ(battery, 87);

    std::uint16_t count = 0;
    EXPECT_EQ(device.readAdc(count), result::kSuccess);
    EXPECT_GT(count, 0);
    EXPECT_LT(count, 0x4000);

    auto timing = altimeter.timing();
    timing.fireDuration = std::chrono::milliseconds(0);
    altimeter.setTiming(timing);
    EXPECT_EQ(device.fireLines(), result::kSuccess);
    EXPECT_EQ(altimeter.fireCount(), 1);

    EXPECT_EQ(device.clearMemory(), result::kSuccess);
    EXPECT_EQ(altimeter.clearCount(), 1);
    EXPECT_EQ(altimeter.usedPackets(), 0);
    ASSERT_EQ(download(), result::kSuccess);
    EXPECT_TRUE(device.store.packets.empty());
}

TEST_F(SimConversationTest, AStrayCodeIsSkippedAndItsLostWordEndsThePacketEarly) {
    // The reset gives no report; report 5 is word 5 of packet 0, sent with a stray code
    // instead of its own. The device then runs out of words one reply early.
    altimeter.injectWrongCode(5, 12);
    EXPECT_EQ(download(), result::kProtocolError);
    EXPECT_TRUE(log.has("Invalid data."));
    EXPECT_TRUE(log.has("Code: [c]"));
    EXPECT_TRUE(log.has("Premature end of data."));
    EXPECT_TRUE(device.store.packets.empty());
}

TEST_F(SimConversationTest, EarlyEndsAndSilenceKeepTheWholePacketsOnly) {
    altimeter.injectEarlyComplete(40);
    EXPECT_EQ(download(), result::kProtocolError);
    EXPECT_EQ(device.store.packets.size(), 1u);

    altimeter.clearFaults();
    altimeter.injectSilenceFromReport(70);
    EXPECT_EQ(download(), result::kTimeout);
    EXPECT_EQ(device.store.packets.size(), 2u);
    altimeter.clearFaults();

    // A later operation is not confused by what the aborted ones left behind.
    std::uint16_t battery = 0;
    EXPECT_EQ(device.readBattery(battery), result::kSuccess);
    EXPECT_EQ(battery, 91);
}

TEST_F(SimConversationTest, UnplugDuringADownloadFailsIt) {
    altimeter.injectUnplugAtReport(100);
    EXPECT_EQ(download(), result::kTimeout);
    EXPECT_EQ(device.store.packets.size(), 3u);
    EXPECT_EQ(device.connect(ConnectMode::Application), result::kTimeout);
}

TEST_F(SimConversationTest, ReplaysARecordedFlightIntoTheFlightLogic) {
    ASSERT_EQ(download(), result::kSuccess);
    ASSERT_TRUE(device.store.selectSet(0));
    struct Seen {
        std::vector<int> codes;
        static void record(void* context, int code, int) {
            static_cast<Seen*>(context)->codes.push_back(code);
        }
    } seen;
    EXPECT_TRUE(device.emulateLaunch(&Seen::record, &seen));
    EXPECT_GT(altimeter.emulationSamples(), 0);
    EXPECT_LE(altimeter.emulationSamples(), static_cast<int>(device.store.current.size()));
    EXPECT_TRUE(log.has("Launch detected."));
    EXPECT_TRUE(log.has("Apogee!"));
    // Every event the device raised reached the callback, in order.
    std::vector<int> events;
    for (int code : seen.codes) {
        if (code != 13) {
            events.push_back(code);
        }
    }
    std::vector<int> raised;
    for (const auto& e : altimeter.emulationEvents()) {
        raised.push_back(static_cast<int>(e.code));
    }
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events, raised);
}

TEST_F(SimConversationTest, CancelFromTheWindowThreadEndsAReplayAtTheNextRequest) {
    ASSERT_EQ(download(), result::kSuccess);
    ASSERT_TRUE(device.store.selectSet(0));
    auto timing = altimeter.timing();
    timing.samplePace = std::chrono::milliseconds(5);
    altimeter.setTiming(timing);
    std::atomic<int> requests{0};
    auto counter = [](void* context, int code, int) {
        if (code == 13) {
            ++*static_cast<std::atomic<int>*>(context);
        }
    };
    bool ended = false;
    std::thread worker([&] { ended = device.emulateLaunch(counter, &requests); });
    while (requests.load() < 2) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    device.requestCancel();
    worker.join();
    EXPECT_TRUE(ended);
    EXPECT_TRUE(log.has("User ended emulation."));
    EXPECT_LT(altimeter.emulationSamples(), static_cast<int>(device.store.current.size()));
}

TEST_F(SimConversationTest, AnUnplugWhileReadingSettingsKeepsTheOldImage) {
    ASSERT_EQ(device.readSettings(), result::kSuccess);
    const auto before = device.store.settings.image;
    auto changed = before;
    changed[3] ^= 0x55;
    altimeter.setSettingsImage(changed);
    altimeter.injectUnplugAtReport(8);
    EXPECT_EQ(device.readSettings(), result::kTimeout);
    EXPECT_EQ(device.store.settings.image, before);
}

class SimConnectTest : public ::testing::Test {
  protected:
    std::shared_ptr<sim::SimBackend> backend = std::make_shared<sim::SimBackend>(instant(0));
    AltimeterDevice device{backend};
    LogCapture log;
};

TEST_F(SimConnectTest, VersionsAndModes) {
    std::uint16_t version = 0;
    backend->altimeter().setFirmwareVersion(0x0151);
    EXPECT_EQ(device.connect(ConnectMode::Application, &version), result::kConnected);
    EXPECT_EQ(version, 0x0151);

    backend->altimeter().setFirmwareVersion(0x0140);
    EXPECT_EQ(device.connect(ConnectMode::Application, &version), result::kProtocolError);
    EXPECT_EQ(version, 0x0140);

    backend->altimeter().setRefuseOpen(true);
    backend->altimeter().setFirmwareVersion(0x0150);
    EXPECT_EQ(device.connect(ConnectMode::Application), result::kCancelled);
    backend->altimeter().setRefuseOpen(false);

    EXPECT_EQ(device.connect(ConnectMode::Bootloader), result::kTimeout);
    backend->altimeter().switchToBootloader();
    EXPECT_EQ(device.connect(ConnectMode::Bootloader, &version), result::kConnected);
    EXPECT_EQ(version, 0x0110);
    EXPECT_TRUE(device.isBootloader());
}

class SimFirmwareTest : public SimConnectTest {
  protected:
    void SetUp() override {
        backend->altimeter().switchToBootloader();
        ASSERT_EQ(device.connect(ConnectMode::Bootloader), result::kConnected);
        m_path = std::filesystem::temp_directory_path() /
                 ("tevusb_sim_fw_" + std::to_string(::getpid()) + "_" +
                  std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    }
    void TearDown() override { std::filesystem::remove(m_path); }

    int update() {
        const auto bytes = builder.bytes();
        std::ofstream(m_path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return device.updateFirmware(nullptr, nullptr, m_path, versions);
    }

    FirmwareBuilder builder;
    FirmwareVersions versions;

  private:
    std::filesystem::path m_path;
};

TEST_F(SimFirmwareTest, TheFlashHoldsTheImageAfterAnUpdate) {
    builder.length = 64 * 40 + 10;
    for (int b = 0; b <= 40; ++b) {
        if (b % 3 != 1) {
            builder.fillBlock(b);
        }
    }
    ASSERT_EQ(update(), update_result::kSuccess);
    const auto flash = backend->altimeter().flash();
    EXPECT_TRUE(std::equal(builder.image.begin(), builder.image.begin() + 41 * 64, flash.begin()));
    EXPECT_EQ(backend->altimeter().writtenBlocks().size(), 27u);
    EXPECT_EQ(versions.hardware, 0x0120);
}

TEST_F(SimFirmwareTest, AFullImageNeverWrapsOntoBlockZero) {
    builder.length = 65536;
    builder.fillBlock(0);
    builder.fillBlock(1023);
    ASSERT_EQ(update(), update_result::kSuccess);
    const auto written = backend->altimeter().writtenBlocks();
    EXPECT_EQ(written, (std::vector<std::uint16_t>{0, 0xFFC0}));
}

TEST_F(SimFirmwareTest, WrongHardwareAndAnUnplugStopTheUpdate) {
    builder.length = 640;
    builder.fillBlock(0);
    builder.fillBlock(5);
    backend->altimeter().setHardwareVersion(0x0130);
    EXPECT_EQ(update(), update_result::kWrongHardware);
    EXPECT_EQ(versions.hardware, 0x0130);
    EXPECT_TRUE(backend->altimeter().writtenBlocks().empty());

    backend->altimeter().setHardwareVersion(0x0120);
    // Report 0 answers the version query, report 1 the first block.
    // The second block reaches the flash but its answer never comes back.
    backend->altimeter().injectUnplugAtReport(2);
    EXPECT_EQ(update(), update_result::kTransferFailed);
    EXPECT_TRUE(log.has("Failed to read."));
    EXPECT_EQ(backend->altimeter().writtenBlocks(), (std::vector<std::uint16_t>{0, 320}));
}

}  // namespace
}  // namespace tevusb::device::testing
