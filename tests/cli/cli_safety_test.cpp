// SPDX-License-Identifier: MIT
// What tevusb-cli refuses or warns of before it writes, erases or fires anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "cli/library_commands.h"
#include "cli_device_fixture.h"
#include "data/setting_values.h"
#include "library/flight_library.h"
#include "text/safety_texts.h"

using namespace tevusb;
using tevusb::testing::CliDevice;
using tevusb::testing::CliRun;
using tevusb::testing::has;

namespace {

// The archived flights of `folder`, lowest apogee first.
std::vector<library::FlightRecord> flightsByApogee(const std::filesystem::path& folder) {
    library::FlightLibrary lib(folder);
    lib.open();
    auto flights = lib.list();
    std::sort(flights.begin(), flights.end(), [](const auto& a, const auto& b) {
        return a.apogeeAglM.value_or(0) < b.apogeeAglM.value_or(0);
    });
    return flights;
}

}  // namespace

TEST_F(CliDevice, ValuesTheAltimeterCannotHoldAreRefusedByName) {
    const std::string ground =
        "enter a whole number from 0 to " + std::to_string(data::highestGroundAltitude()) + " m.";
    const struct {
        tevusb::testing::CliCommand command;
        std::vector<std::string> words;
        std::string says;
    } cases[] = {
        {cli::runSettings,
         {"--line-b", "altitude:99999"},
         "Line B altitude: 99999 m is out of range; enter a whole number from 0 to 65535 m."},
        {cli::runSettings, {"--line-a", "altitude:65536"}, "Line A altitude: 65536 m is out"},
        {cli::runSettings, {"--line-a", "time:-1"}, "Line A time: -1 s is out of range"},
        {cli::runSettings, {"--line-b", "time:abc"}, "Line B time: \"abc\" is not a number"},
        {cli::runSettings,
         {"--inhibit", "6553.6"},
         "Inhibit time: 6553.6 s is out of range; enter seconds from 0 to 6553.5 s."},
        {cli::runSettings,
         {"--line-a", "sometimes"},
         "--line-a takes disabled, apogee, time:SECONDS or altitude:METRES."},
        {cli::runCalibrate, {"--ground", "99999"}, "Ground altitude: 99999 m is out of range; "},
        {cli::runCalibrate, {"--ground", "-1"}, "Ground altitude: -1 m is out of range; " + ground},
        {cli::runCalibrate, {"--ground", "high"}, "Ground altitude: \"high\" is not a number"},
    };
    const int used = altimeter().usedPackets();
    for (const auto& c : cases) {
        std::vector<std::string> words = c.words;
        words.insert(words.end(), {"--yes", "--force"});
        const CliRun r = run(c.command, words);
        EXPECT_EQ(r.status, 2) << c.words[1];
        EXPECT_TRUE(has(r.err, c.says)) << r.err;
    }
    EXPECT_EQ(altimeter().settingsWrites(), 0);
    EXPECT_EQ(altimeter().clearCount(), 0);
    EXPECT_EQ(altimeter().usedPackets(), used);
}

TEST_F(CliDevice, SanityWarningsComeAfterTheUsualOnesAndDoNotStopTheWrite) {
    keepFlights();
    const CliRun r = run(cli::runSettings, {"--line-a", "altitude:20", "--line-b", "altitude:20",
                                            "--inhibit", "25", "--yes"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto usual = r.err.find("Warning: The inhibit setting is very large.");
    const auto low = r.err.find("Warning: Line A fires at 20 m above the launch site, below 30 m");
    const auto same = r.err.find("Warning: Line A and Line B are set the same (Altitude 20 m)");
    ASSERT_NE(usual, std::string::npos) << r.err;
    ASSERT_NE(low, std::string::npos) << r.err;
    ASSERT_NE(same, std::string::npos) << r.err;
    EXPECT_LT(usual, low);
    EXPECT_EQ(altimeter().settingsWrites(), 1);
}

TEST_F(CliDevice, TheRocketsHighestApogeeChecksAnAltitudeLine) {
    keepFlights();
    const auto flights = flightsByApogee(m_library.path());
    ASSERT_EQ(flights.size(), 3u);
    // The two lower flights are the rocket's; the highest one belongs to another rocket, so
    // a line between the two apogees is only warned of when the rocket's flights alone count.
    for (std::size_t i = 0; i < 3; ++i) {
        const CliRun edit = run(cli::runLibrary, {"edit", std::to_string(flights[i].id), "--rocket",
                                                  i < 2 ? "Hawk" : "Falcon"});
        ASSERT_EQ(edit.status, 0) << edit.err;
    }
    const double hawk = flights[1].apogeeAglM.value();
    const double falcon = flights[2].apogeeAglM.value();
    ASSERT_GT(falcon - hawk, 4.0);
    const std::string between = "altitude:" + std::to_string(std::lround((hawk + falcon) / 2));

    const CliRun named = run(cli::runSettings, {"--line-b", between, "--rocket", "hawk", "--yes"});
    ASSERT_EQ(named.status, 0) << named.err;
    EXPECT_TRUE(has(named.err, "Warning: Line B fires at "));
    EXPECT_TRUE(
        has(named.err, "above the highest apogee of this rocket's flights in the library (" +
                           std::to_string(std::lround(hawk)) + " m)"))
        << named.err;

    const CliRun other =
        run(cli::runSettings, {"--line-b", between, "--rocket", "Falcon", "--yes"});
    ASSERT_EQ(other.status, 0) << other.err;
    EXPECT_FALSE(has(other.err, "highest apogee")) << other.err;

    const CliRun unknown =
        run(cli::runSettings, {"--line-b", between, "--rocket", "Hawk 2", "--yes"});
    ASSERT_EQ(unknown.status, 0) << unknown.err;
    EXPECT_FALSE(has(unknown.err, "highest apogee"));
    EXPECT_TRUE(has(unknown.err, "No flight of the rocket \"Hawk 2\" with a known apogee"));
}

TEST_F(CliDevice, AnEraseOfFlightsNotInTheLibraryIsRefusedUnlessForced) {
    const int used = altimeter().usedPackets();
    const std::string folder = m_library.path().string();
    const std::vector<std::vector<std::string>> erasing = {
        {"--yes"}, {"--inhibit", "3", "--yes"}, {"--ground", "300", "--yes"}};
    const tevusb::testing::CliCommand commands[] = {cli::runClear, cli::runSettings,
                                                    cli::runCalibrate};
    for (std::size_t i = 0; i < 3; ++i) {
        const CliRun r = run(commands[i], erasing[i]);
        EXPECT_EQ(r.status, 1) << i;
        EXPECT_TRUE(has(r.err,
                        "3 of the 3 flights on the altimeter (sets 1, 2 and 3) are not in "
                        "the flight library (" +
                            folder + ")."))
            << r.err;
        EXPECT_TRUE(has(r.err,
                        "Nothing was erased. Download them first with `tevusb-cli "
                        "download`, or add --force to erase them."));
    }
    EXPECT_EQ(altimeter().clearCount(), 0);
    EXPECT_EQ(altimeter().settingsWrites(), 0);
    EXPECT_EQ(altimeter().usedPackets(), used);

    // One flight taken out of the library again: only that set is named.
    keepFlights();
    const auto kept = flightsByApogee(m_library.path());
    const auto second =
        std::find_if(kept.begin(), kept.end(), [](const auto& f) { return f.setNumber == 2; });
    ASSERT_NE(second, kept.end());
    ASSERT_EQ(run(cli::runLibrary, {"delete", std::to_string(second->id), "--yes"}).status, 0);
    const CliRun one = run(cli::runClear, {"--yes"});
    EXPECT_EQ(one.status, 1);
    EXPECT_TRUE(has(one.err, "1 of the 3 flights on the altimeter (set 2) is not in")) << one.err;

    // --force passes the check, never the confirmation.
    EXPECT_EQ(run(cli::runClear, {"--force"}).status, 1);
    EXPECT_EQ(altimeter().clearCount(), 0);
    const CliRun forced = run(cli::runClear, {"--force", "--yes"});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_TRUE(has(forced.err, "(set 2) is not in the flight library"));
    EXPECT_EQ(altimeter().clearCount(), 1);
}

TEST_F(CliDevice, WithoutALibraryOrAReadableMemoryNothingIsErased) {
    // A file where the library folder should be: the library cannot be opened.
    tevusb::testing::writeAll(m_library / "flights", "not a folder");
    cli::setLibraryOption((m_library / "flights").string());
    const CliRun r = run(cli::runClear, {"--yes"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err,
                    "None of the 3 flights on the altimeter (sets 1, 2 and 3) counts as "
                    "kept: the flight library (" +
                        (m_library / "flights").string() + ") could not be opened: "))
        << r.err;
    EXPECT_EQ(altimeter().clearCount(), 0);

    // The link drops while the memory is read aside: refused even with --force.
    altimeter().injectUnplugAtReport(40);
    const CliRun cut = run(cli::runClear, {"--yes", "--force"});
    EXPECT_EQ(cut.status, 1);
    EXPECT_TRUE(has(cut.err, "Could not read the altimeter's flight memory")) << cut.err;
    altimeter().attach();
    EXPECT_EQ(altimeter().clearCount(), 0);
    EXPECT_GT(altimeter().usedPackets(), 0);

    EXPECT_EQ(run(cli::runClear, {"--yes", "--force"}).status, 0);
    EXPECT_EQ(altimeter().clearCount(), 1);
}

TEST_F(CliDevice, SimulatedFlightsGoToALibraryOfTheirOwn) {
    const char* before = std::getenv("TEVUSB_LIBRARY");
    const std::string saved = before != nullptr ? before : "";
    ::setenv("TEVUSB_LIBRARY", m_library.path().string().c_str(), 1);
    cli::setLibraryOption(std::nullopt);
    cli::setSimulatorLibrary(true);
    const auto simulator = m_library / "simulator";
    EXPECT_EQ(cli::libraryFolder(), simulator);
    const CliRun r = run(cli::runDownload, {});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(
        has(r.out, "Archiving into the simulator's flight library (" + simulator.string() + ").\n"))
        << r.out;
    EXPECT_EQ(flightsByApogee(simulator).size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(m_library / "index.sqlite"));

    // A folder named with --library is used as given, and named as the flyer's library.
    tevusb::testing::TempDir other;
    cli::setLibraryOption(other.path().string());
    EXPECT_EQ(cli::libraryFolder(), other.path());
    const CliRun named = run(cli::runDownload, {});
    EXPECT_FALSE(has(named.out, "simulator's"));
    EXPECT_EQ(flightsByApogee(other.path()).size(), 3u);

    cli::setSimulatorLibrary(false);
    if (before != nullptr) {
        ::setenv("TEVUSB_LIBRARY", saved.c_str(), 1);
    } else {
        ::unsetenv("TEVUSB_LIBRARY");
    }
}

TEST_F(CliDevice, FiringAndEmulationSayWhatWillHappen) {
    const CliRun fire = run(cli::runFire, {});
    EXPECT_EQ(fire.status, 1);
    EXPECT_TRUE(has(fire.err, std::string(text::kFireHint))) << fire.err;
    EXPECT_EQ(altimeter().fireCount(), 0);

    tevusb::testing::TempDir dir;
    ASSERT_EQ(run(cli::runDownload, {"--out", dir.path().string()}).status, 0);
    const CliRun emulate = run(cli::runEmulate, {(dir / "set1.tev").string()});
    EXPECT_EQ(emulate.status, 0) << emulate.err;
    EXPECT_TRUE(has(emulate.out, std::string(text::kEmulateHint) + "\nEmulating...\n"));
}
