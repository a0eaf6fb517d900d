// SPDX-License-Identifier: MIT
// Writing a rocket profile to the simulated altimeter through tevusb-cli, and the walk a
// flyer makes from three profiles to a go.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <thread>

#include "cli/library_commands.h"
#include "cli/preflight_command.h"
#include "cli/profile_command.h"
#include "cli_device_fixture.h"
#include "device/device_lock.h"
#include "library/flight_library.h"
#include "library/preflight_record.h"

using namespace tevusb;
using tevusb::testing::CliDevice;
using tevusb::testing::CliRun;
using tevusb::testing::has;

namespace {

class ProfileApply : public CliDevice {
  protected:
    void SetUp() override {
        CliDevice::SetUp();
        // The device locks go to a folder of the test's own.
        setenv("XDG_RUNTIME_DIR", m_runtime.path().string().c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_RUNTIME_DIR");
        CliDevice::TearDown();
    }

    // One more flight on the altimeter, made after the last clear: the next stock flight
    // with one reading nudged, so it is none the library has seen.
    void flyOnce() {
        altimeter().loadFlights(1);
        data::MemoryPacket p = altimeter().packet(1);
        p.setWord(5, static_cast<std::uint16_t>(p.reading(4) ^ 0x3));
        altimeter().setPacket(1, p);
    }

    tevusb::testing::TempDir m_runtime;
};

}  // namespace

TEST_F(ProfileApply, OnlyTheProfilesPartIsWrittenAndEverythingElseKeptByteForByte) {
    tevusb::testing::LogCapture quiet;
    keepFlights();
    // A calibrated altimeter with its own device parameters and an unused Line A value.
    settings::DeviceSettings own;
    own.image = altimeter().settingsImage();
    own.parse();
    own.maxReadings = 1234;
    own.auxFlag = 0;
    own.auxWord = 77;
    own.auxByte = 5;
    own.adcOffset = -37;
    own.lineAValue = 321;
    own.build();
    altimeter().setSettingsImage(own.image);

    ASSERT_EQ(run(cli::runProfile, {"set", "Nova", "--line-a", "apogee", "--line-b", "altitude:200",
                                    "--inhibit", "3.5"})
                  .status,
              0);
    const CliRun r = run(cli::runProfile, {"apply", "Nova", "--yes"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_TRUE(has(r.out, "  Line A: Apogee (no change)\n")) << r.out;
    EXPECT_TRUE(has(r.out, "  Line B: Altitude 150 m \u2192 Altitude 200 m\n")) << r.out;
    EXPECT_TRUE(has(r.out, "  Inhibit: 2.0 s \u2192 3.5 s\n")) << r.out;
    EXPECT_TRUE(has(r.out, "Read back: the altimeter holds the profile \"Nova\".")) << r.out;

    const auto written = altimeter().settingsImage();
    // maxReadings, auxFlag, auxWord, auxByte and the calibration offset, as the device had them.
    for (const std::size_t at : {0u, 1u, 2u, 3u, 4u, 7u, 8u, 9u, 11u, 12u}) {
        EXPECT_EQ(written[at], own.image[at]) << "byte " << at;
    }
    settings::DeviceSettings now;
    now.image = written;
    ASSERT_TRUE(now.parse());
    EXPECT_EQ(now.lineBMode, 3);
    EXPECT_EQ(now.lineBValue, 200);
    EXPECT_EQ(now.inhibitTime, 35);

    // Applied again: nothing differs, nothing is written, no flight memory cleared.
    const int writes = altimeter().settingsWrites();
    const CliRun again = run(cli::runProfile, {"apply", "Nova", "--yes"});
    EXPECT_EQ(again.status, 0);
    EXPECT_TRUE(has(again.out, "already holds the profile")) << again.out;
    EXPECT_EQ(altimeter().settingsWrites(), writes);
}

TEST_F(ProfileApply, UnsavedFlightsADeclinedQuestionOrABadChecksumWriteNothing) {
    ASSERT_EQ(run(cli::runProfile, {"set", "Nova", "--line-b", "altitude:200"}).status, 0);
    const int used = altimeter().usedPackets();
    const CliRun unsaved = run(cli::runProfile, {"apply", "Nova", "--yes"});
    EXPECT_EQ(unsaved.status, 1);
    EXPECT_TRUE(has(unsaved.err, "are not in the flight library")) << unsaved.err;
    // No terminal: the question is answered No.
    keepFlights();
    const CliRun declined = run(cli::runProfile, {"apply", "Nova"});
    EXPECT_EQ(declined.status, 1);
    EXPECT_TRUE(has(declined.out, "Nothing was written.")) << declined.out;
    altimeter().corruptSettingsChecksum();
    const CliRun corrupt = run(cli::runProfile, {"apply", "Nova", "--yes"});
    EXPECT_EQ(corrupt.status, 1);
    EXPECT_TRUE(has(corrupt.out, "Checksum failed.")) << corrupt.out;
    EXPECT_EQ(altimeter().settingsWrites(), 0);
    EXPECT_EQ(altimeter().clearCount(), 0);
    EXPECT_EQ(altimeter().usedPackets(), used);
}

TEST_F(ProfileApply, AnUnplugAtEachStepWritesNothingOrSaysTheOldSettingsMayRemain) {
    keepFlights();
    ASSERT_EQ(run(cli::runProfile, {"set", "Nova", "--line-b", "altitude:200"}).status, 0);
    // Past the reads and the erase guard's look at the memory, inside the write.
    const std::uint64_t start = altimeter().reportsProduced();
    ASSERT_EQ(run(cli::runProfile, {"apply", "Nova", "--yes"}).status, 0);
    const std::uint64_t whole = altimeter().reportsProduced() - start;
    // In the first settings read, in the erase guard's look at the memory, in the write.
    for (const std::uint64_t at : {std::uint64_t{3}, std::uint64_t{60}, whole - 20}) {
        plugIn();
        keepFlights();
        altimeter().injectUnplugAtReport(at);
        const CliRun cut = run(cli::runProfile, {"apply", "Nova", "--yes"});
        EXPECT_EQ(cut.status, 1) << at;
        EXPECT_FALSE(has(cut.out, "Read back: the altimeter holds")) << cut.out;
        if (at == whole - 20) {
            EXPECT_TRUE(has(cut.out, "may still hold its old settings") ||
                        has(cut.out, "could not be read back"))
                << cut.out;
        } else {
            EXPECT_EQ(altimeter().settingsWrites(), 0) << at;
            EXPECT_EQ(altimeter().clearCount(), 0) << at;
        }
    }
}

TEST_F(ProfileApply, ASecondProgramWaitsForTheDeviceLockAndGivesUpClearly) {
    keepFlights();
    ASSERT_EQ(run(cli::runProfile, {"set", "Nova", "--line-b", "altitude:200"}).status, 0);
    std::string why;
    {
        auto held = device::DeviceLock::acquire(altimeter().path(), 0, why);
        ASSERT_TRUE(held.has_value()) << why;
        EXPECT_FALSE(device::DeviceLock::acquire(altimeter().path(), 50, why).has_value());
        EXPECT_TRUE(has(why, "Another program is writing to the altimeter")) << why;
        const CliRun busy = run(cli::runProfile, {"apply", "Nova", "--yes"});
        EXPECT_EQ(busy.status, 1);
        EXPECT_TRUE(has(busy.out, "Another program is writing")) << busy.out;
        EXPECT_EQ(altimeter().settingsWrites(), 0);
    }
    // Released by its holder on another thread while the apply waits: the apply goes on.
    auto held = device::DeviceLock::acquire(altimeter().path(), 0, why);
    ASSERT_TRUE(held.has_value());
    std::thread release([&held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        held.reset();
    });
    const CliRun waited = run(cli::runProfile, {"apply", "Nova", "--yes"});
    release.join();
    EXPECT_EQ(waited.status, 0) << waited.out << waited.err;
    EXPECT_EQ(altimeter().settingsWrites(), 1);
}

TEST_F(ProfileApply, ThreeRocketsApplyNovaNoGoDownloadThenGo) {
    // Three rockets, each with its own needs.
    ASSERT_EQ(run(cli::runProfile, {"set", "Nova", "--line-a", "apogee", "--line-b", "altitude:200",
                                    "--expected-apogee", "820"})
                  .status,
              0);
    ASSERT_EQ(
        run(cli::runProfile, {"set", "Vega", "--line-a", "apogee", "--line-b", "disabled"}).status,
        0);
    ASSERT_EQ(run(cli::runProfile, {"set", "Slowpoke", "--line-a", "time:8", "--line-b",
                                    "altitude:150", "--inhibit", "4", "--min-battery", "7.5"})
                  .status,
              0);
    const CliRun listed = run(cli::runProfile, {"list", "--json"});
    ASSERT_EQ(listed.status, 0);
    EXPECT_EQ(nlohmann::json::parse(listed.out).size(), 3u);

    // Apply Nova: only the changed line is shown as a change.
    keepFlights();
    const CliRun applied = run(cli::runProfile, {"apply", "Nova", "--yes"});
    ASSERT_EQ(applied.status, 0) << applied.out << applied.err;
    EXPECT_TRUE(has(applied.out, "Line B: Altitude 150 m \u2192 Altitude 200 m"));
    EXPECT_TRUE(has(applied.out, "Line A: Apogee (no change)"));
    EXPECT_TRUE(has(applied.out, "Inhibit: 2.0 s (no change)"));

    // A flight is made and not downloaded: no-go, and it says why.
    flyOnce();
    CliRun r = run(cli::runPreflight, {"--profile", "Nova", "--json"});
    EXPECT_EQ(r.status, 3) << r.out << r.err;
    nlohmann::json report = nlohmann::json::parse(r.out);
    EXPECT_EQ(report["verdict"], "no-go");
    EXPECT_EQ(report["flights_not_in_library"], 1);
    r = run(cli::runPreflight, {"--profile", "Nova"});
    EXPECT_TRUE(has(r.out, "no-go: 1 flight on the altimeter is not in your library")) << r.out;

    // Downloaded: go, and the flight is linked to the check before it.
    keepFlights();
    r = run(cli::runPreflight, {"--profile", "Nova", "--json"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    report = nlohmann::json::parse(r.out);
    EXPECT_EQ(report["verdict"], "go");
    EXPECT_EQ(report["flights_not_in_library"], 0);

    // The next flight is linked to this last check, and `library show` names it.
    flyOnce();
    altimeter().setPacket(1, [&] {
        data::MemoryPacket p = altimeter().packet(1);
        p.setWord(6, static_cast<std::uint16_t>(p.reading(5) ^ 0x5));
        return p;
    }());
    keepFlights();
    library::FlightLibrary lib(m_library.path());
    ASSERT_TRUE(lib.open().ok());
    std::int64_t newest = 0;
    for (const auto& f : lib.list()) {
        newest = std::max(newest, f.id);
    }
    const auto check = library::preflightBeforeFlight(lib, newest);
    ASSERT_TRUE(check.has_value());
    EXPECT_TRUE(check->report.go());
    const CliRun shown = run(cli::runLibrary, {"show", std::to_string(newest)});
    EXPECT_TRUE(has(shown.out, "Pre-flight check:\n")) << shown.out;
    EXPECT_TRUE(has(shown.out, ": go for the rocket profile \"Nova\"")) << shown.out;
}
