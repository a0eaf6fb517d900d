// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "cli/device_commands.h"
#include "cli/file_commands.h"
#include "cli/library_option.h"
#include "cli_device_fixture.h"
#include "data/altitude_converter.h"
#include "device/altimeter_device.h"
#include "device/device_tasks.h"
#include "device/sim/sim_backend.h"
#include "support/cli_run.h"
#include "support/firmware_builder.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

using namespace tevusb;
using tevusb::testing::readAll;
using tevusb::testing::TempDir;

using tevusb::testing::CliDevice;
using tevusb::testing::CliRun;
using tevusb::testing::has;

TEST_F(CliDevice, DownloadSavesEverySetWithTheDevicesCalibration) {
    settings::DeviceSettings onDevice;
    onDevice.adcOffset = 37;
    onDevice.build();
    altimeter().setSettingsImage(onDevice.image);
    TempDir dir;
    const CliRun r = run(cli::runDownload, {"--out", dir.path().string(), "--csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(has(r.out, "Device Connected.\nCurrent device firmware version: 1.50\n"));
    EXPECT_TRUE(has(r.out, "Data read successfully.\n"));
    EXPECT_TRUE(has(r.out, "Data set/s saved succesfully.\n"));
    for (int k = 1; k <= 3; ++k) {
        const auto tev = dir / ("set" + std::to_string(k) + ".tev");
        data::DataSetStore saved;
        tevusb::testing::LogCapture quiet;
        ASSERT_TRUE(saved.loadSetFile(tev)) << k;
        EXPECT_EQ(saved.settings.adcOffset, 37);
        EXPECT_EQ(saved.packets.size(),
                  static_cast<std::size_t>(
                      altimeter().flights()[static_cast<std::size_t>(k - 1)].packetCount));
        const auto csv = dir / ("check" + std::to_string(k) + ".csv");
        ASSERT_EQ(run(cli::runExport, {tev.string(), "--csv", csv.string()}).status, 0);
        EXPECT_EQ(readAll(dir / ("set" + std::to_string(k) + ".csv")), readAll(csv)) << k;
    }
    // The flight in the store right after the download uses the device's offset too.
    EXPECT_EQ(device::theDevice().store.settings.adcOffset, 37);
}

TEST_F(CliDevice, DownloadFailuresSaveNothing) {
    TempDir dir;
    altimeter().detach();
    const CliRun none = run(cli::runDownload, {"--out", dir.path().string()});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(has(none.out, "Device not found.\n"));

    altimeter().attach();
    altimeter().injectUnplugAtReport(200);
    const CliRun cut = run(cli::runDownload, {"--out", dir.path().string()});
    EXPECT_EQ(cut.status, 1);
    EXPECT_TRUE(has(cut.out, "Failed to read data.\n"));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    EXPECT_EQ(run(cli::runDownload, {"--out"}).status, 2);
}

TEST_F(CliDevice, DestructiveCommandsNeedConfirmation) {
    keepFlights();  // so the confirmation is what stands in the way
    // Standard input is no terminal here, so nothing is confirmed without --yes.
    const CliRun clear = run(cli::runClear, {});
    EXPECT_EQ(clear.status, 1);
    EXPECT_EQ(altimeter().clearCount(), 0);
    const CliRun fire = run(cli::runFire, {});
    EXPECT_EQ(fire.status, 1);
    EXPECT_EQ(altimeter().fireCount(), 0);
    const CliRun write = run(cli::runSettings, {"--inhibit", "3"});
    EXPECT_EQ(write.status, 1);
    EXPECT_EQ(altimeter().settingsWrites(), 0);

    EXPECT_EQ(run(cli::runClear, {"--yes"}).status, 0);
    EXPECT_EQ(altimeter().clearCount(), 1);
    EXPECT_EQ(altimeter().usedPackets(), 0);
    const CliRun fired = run(cli::runFire, {"--yes"});
    EXPECT_EQ(fired.status, 0);
    EXPECT_TRUE(has(fired.out, "Firing both lines for 2 seconds...\nDone.\n"));
    EXPECT_EQ(altimeter().fireCount(), 1);
}

TEST_F(CliDevice, SettingsAreWrittenWithTheDialogsWarnings) {
    keepFlights();
    const CliRun r = run(cli::runSettings, {"--line-a", "time:1.5", "--line-b", "disabled",
                                            "--inhibit", "25", "--yes"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(has(r.err, "The inhibit setting is very large."));
    EXPECT_TRUE(has(r.err, "One or both of the ejection lines are disabled."));
    EXPECT_TRUE(has(r.out, "Settings written successfully.\n"));
    settings::DeviceSettings written;
    written.image = altimeter().settingsImage();
    tevusb::testing::LogCapture quiet;
    ASSERT_TRUE(written.parse());
    EXPECT_EQ(written.lineAMode, 1);
    EXPECT_EQ(written.lineAValue, 15);
    EXPECT_EQ(written.lineBMode, 0);
    EXPECT_EQ(written.lineBValue, 150);  // a disabled line keeps its value
    EXPECT_EQ(written.inhibitTime, 250);
    EXPECT_EQ(altimeter().clearCount(), 1);  // the altimeter needs its memory cleared

    EXPECT_EQ(run(cli::runSettings, {"--line-a", "sometimes"}).status, 2);
    EXPECT_EQ(run(cli::runSettings, {"--inhibit", "-3"}).status, 2);
    EXPECT_EQ(altimeter().settingsWrites(), 1);
}

TEST_F(CliDevice, InvalidDeviceSettingsAreReportedNotUsed) {
    altimeter().corruptSettingsChecksum();
    const CliRun r = run(cli::runInfo, {});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err, "Checksum failed. The device settings are invalid."));
    const CliRun w = run(cli::runSettings, {"--inhibit", "3", "--yes"});
    EXPECT_EQ(w.status, 1);
    EXPECT_EQ(altimeter().settingsWrites(), 0);
}

TEST_F(CliDevice, CalibrationMakesTheCurrentReadingTheGroundAltitude) {
    keepFlights();
    const CliRun r = run(cli::runCalibrate, {"--ground", "300", "--yes"});
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "Calibration complete.\n"));
    settings::DeviceSettings written;
    written.image = altimeter().settingsImage();
    tevusb::testing::LogCapture quiet;
    ASSERT_TRUE(written.parse());
    const CliRun p = run(cli::runPressure, {});
    ASSERT_EQ(p.status, 0);
    // The simulated sensor is at 152 m; after calibration at "300 m" it reads about 300.
    const auto at = p.out.find("Current MSL Altitude: ");
    ASSERT_NE(at, std::string::npos);
    const double altitude = std::stod(p.out.substr(at + 22));
    EXPECT_NEAR(altitude, 300.0, 2.0);
    EXPECT_NE(written.adcOffset, 0);
    EXPECT_EQ(run(cli::runCalibrate, {"--ground", "high"}).status, 2);
}

TEST_F(CliDevice, PressureAndBattery) {
    const CliRun p = run(cli::runPressure, {});
    ASSERT_EQ(p.status, 0);
    EXPECT_TRUE(has(p.out, "\nCurrent ADC: "));
    EXPECT_TRUE(has(p.out, " Volts\nCurrent Pressure: "));
    EXPECT_TRUE(has(p.out, " kPa\nCurrent MSL Altitude: "));
    altimeter().setBatteryTenths(84);
    const CliRun b = run(cli::runBattery, {});
    EXPECT_EQ(b.status, 0);
    EXPECT_TRUE(has(b.out, "Current Voltage: 8.4 Volts\n"));
    altimeter().injectNoReplyToNextCommand();
    EXPECT_EQ(run(cli::runBattery, {}).status, 1);
}

TEST_F(CliDevice, EmulationReplaysADownloadedFlight) {
    TempDir dir;
    ASSERT_EQ(run(cli::runDownload, {"--out", dir.path().string()}).status, 0);
    const CliRun r = run(cli::runEmulate, {(dir / "set3.tev").string()});
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "Emulating...\n"));
    EXPECT_TRUE(has(r.out, "Launch detected.\n"));
    EXPECT_TRUE(has(r.out, "Apogee detected.\n"));
    EXPECT_TRUE(has(r.out, "Done.\n"));
    EXPECT_GT(altimeter().emulationSamples(), 10);

    tevusb::testing::writeAll(dir / "junk.tev", "junk");
    const CliRun bad = run(cli::runEmulate, {(dir / "junk.tev").string()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(has(bad.err, "Could not load file."));
    EXPECT_TRUE(has(bad.err, "junk.tev is not a data-set file (.tev)")) << bad.err;
}

TEST_F(CliDevice, AFirmwareFileThatCannotBeUsedIsNamedWithWhatIsWrong) {
    TempDir dir;
    altimeter().switchToBootloader();
    const std::string missing = (dir / "none.dat").string();
    const CliRun gone = run(cli::runFirmware, {missing});
    EXPECT_EQ(gone.status, 1);
    EXPECT_TRUE(has(gone.out, "The file could not be opened.\nFailed to update firmware.\n"))
        << "the designed lines stay";
    EXPECT_EQ(gone.err, missing + " does not exist.\n");

    tevusb::testing::writeAll(dir / "short.dat", "0123456789");
    const CliRun cut = run(cli::runFirmware, {(dir / "short.dat").string()});
    EXPECT_EQ(cut.status, 1);
    EXPECT_TRUE(has(cut.out, "There was a protocol error.\n")) << cut.out;
    EXPECT_TRUE(has(cut.err, "short.dat is cut short: 10 bytes, where a firmware file holds"))
        << cut.err;

    tevusb::testing::writeAll(dir / "junk.dat", std::string(70000, 'x'));
    const CliRun junk = run(cli::runFirmware, {(dir / "junk.dat").string()});
    EXPECT_EQ(junk.status, 1);
    EXPECT_TRUE(has(junk.err, "junk.dat is not a firmware file (.dat)")) << junk.err;
    EXPECT_TRUE(altimeter().writtenBlocks().empty());
}

TEST_F(CliDevice, FirmwareUpdateThroughTheBootloader) {
    TempDir dir;
    device::testing::FirmwareBuilder builder;
    builder.fillBlock(0);
    builder.fillBlock(3);
    builder.length = 4 * 64;
    const auto bytes = builder.bytes();
    tevusb::testing::writeAll(dir / "fw.dat", std::string(bytes.begin(), bytes.end()));

    const CliRun app = run(cli::runFirmware, {(dir / "fw.dat").string()});
    EXPECT_EQ(app.status, 1);
    EXPECT_TRUE(has(app.out,
                    "Device found, but is not in bootloader mode.\n"
                    "Please reconnect the device in bootloader mode.\n"));

    altimeter().switchToBootloader();
    const CliRun ok = run(cli::runFirmware, {(dir / "fw.dat").string()});
    ASSERT_EQ(ok.status, 0) << ok.out;
    EXPECT_TRUE(
        has(ok.out, "Device connected in bootloader mode.\nDevice bootloader version: 1.10\n"));
    EXPECT_TRUE(has(ok.out, "New firmware version: 1.50\nFirmware updated successfully.\n"));
    EXPECT_EQ(altimeter().writtenBlocks(), (std::vector<std::uint16_t>{0, 3 * 64}));
    EXPECT_EQ(altimeter().flash()[3 * 64 + 5], builder.image[3 * 64 + 5]);

    builder.firmwareVersion = 0x0160;
    const auto wrong = builder.bytes();
    tevusb::testing::writeAll(dir / "wrong.dat", std::string(wrong.begin(), wrong.end()));
    const CliRun refused = run(cli::runFirmware, {(dir / "wrong.dat").string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(
        has(refused.out,
            "The firmware version is not intended for use with this software version.\n"
            "New firmware version: 1.60\nExpected version: 1.50\nFailed to update firmware.\n"));
}

TEST_F(CliDevice, DevicesListsModeAndVersion) {
    const CliRun r = run(cli::runDevices, {});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "/dev/hidraw-sim0  application firmware 1.50\n");
    altimeter().switchToBootloader();
    EXPECT_EQ(run(cli::runDevices, {}).out, "/dev/hidraw-sim0  bootloader 1.10\n");
    altimeter().detach();
    EXPECT_EQ(run(cli::runDevices, {}).out, "Device not found.\n");
}

TEST_F(CliDevice, ACancelDuringTheSettingsReadStopsTheDownload) {
    // Slow reports, so the settings read is still running when the cancel comes.
    device::sim::SimTiming slow = device::sim::SimTiming::instant();
    slow.reportDelay = std::chrono::milliseconds(30);
    altimeter().setTiming(slow);
    auto& dev = device::theDevice();
    tevusb::testing::LogCapture quiet;
    ASSERT_EQ(dev.connect(device::ConnectMode::Application), device::result::kConnected);
    dev.requestCancel();  // a stale request from before must not stop this download
    dev.store.comments = {"old"};
    int r = 0;
    std::thread worker([&] { r = device::value(device::downloadFlights(dev).result); });
    const auto sawReadSettings = [&] {
        for (const auto& m : altimeter().receivedMessages()) {
            if (m.code == 8) {
                return true;
            }
        }
        return false;
    };
    while (!sawReadSettings()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    dev.requestCancel();
    worker.join();
    EXPECT_EQ(r, device::result::kCancelled);
    for (const auto& m : altimeter().receivedMessages()) {
        EXPECT_NE(m.code, 2) << "no packet was asked for";
    }
    EXPECT_TRUE(dev.store.packets.empty());
    EXPECT_TRUE(dev.store.comments.empty());
}
