// SPDX-License-Identifier: MIT
// The pre-flight check against the simulated altimeter and a real library on disk, through
// tevusb-cli: each item's verdicts, the exit statuses and the JSON.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/preflight_command.h"
#include "cli/profile_command.h"
#include "cli_device_fixture.h"
#include "device/preflight.h"
#include "library/flight_library.h"
#include "library/kept_flights.h"
#include "library/preflight_record.h"

using namespace tevusb;
using tevusb::testing::CliDevice;
using tevusb::testing::CliRun;
using tevusb::testing::has;

namespace {

class Preflight : public CliDevice {
  protected:
    // A profile equal to what the simulator holds from the factory.
    void SetUp() override {
        CliDevice::SetUp();
        const CliRun made = run(cli::runProfile, {"set", "Nova", "--line-a", "apogee", "--line-b",
                                                  "altitude:150", "--inhibit", "2"});
        ASSERT_EQ(made.status, 0) << made.err;
    }

    nlohmann::json check(int expectedStatus) {
        const CliRun r = run(cli::runPreflight, {"--profile", "Nova", "--json"});
        EXPECT_EQ(r.status, expectedStatus) << r.out << r.err;
        return nlohmann::json::parse(r.out.empty() ? "{}" : r.out);
    }

    static nlohmann::json item(const nlohmann::json& report, const std::string& name) {
        for (const auto& i : report["items"]) {
            if (i["name"] == name) {
                return i;
            }
        }
        return {};
    }

    // Fills the rest of the flight memory with the last set's packets.
    void fillMemory() {
        const int used = altimeter().usedPackets();
        for (int i = used; i < 128; ++i) {
            altimeter().setPacket(i, altimeter().packet(used - 1));
        }
    }
};

}  // namespace

TEST_F(Preflight, TheJsonCarriesEveryFieldAndEachItemInOrder) {
    keepFlights();
    const nlohmann::json r = check(0);
    EXPECT_EQ(r["verdict"], "go");
    EXPECT_EQ(r["profile"], "Nova");
    std::vector<std::string> names;
    for (const auto& i : r["items"]) {
        names.push_back(i["name"]);
        EXPECT_TRUE(i["text"].is_string() && !i["text"].get<std::string>().empty());
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"settings", "battery", "memory", "firmware", "pressure"}));
    EXPECT_DOUBLE_EQ(r["battery_v"].get<double>(), 9.1);
    EXPECT_NEAR(r["ground_msl_m"].get<double>(), 152.0, 3.0);
    EXPECT_EQ(r["flights_on_device"], 3);
    EXPECT_EQ(r["flights_not_in_library"], 0);
    EXPECT_EQ(r["memory_packets_used"], altimeter().usedPackets());
    EXPECT_EQ(r["memory_full"], false);
    // Flights already kept: a clear before flight is safe, and the check still says go.
    EXPECT_EQ(item(r, "memory")["status"], "warning");
    EXPECT_EQ(item(r, "settings")["status"], "ok");
    EXPECT_EQ(item(r, "firmware")["status"], "ok");
    EXPECT_EQ(item(r, "pressure")["status"], "ok");
}

TEST_F(Preflight, SettingsThatDifferAreNamedOneByOne) {
    tevusb::testing::LogCapture quiet;
    keepFlights();
    ASSERT_EQ(run(cli::runProfile, {"set", "Nova", "--line-b", "altitude:200", "--inhibit", "3.5"})
                  .status,
              0);
    const nlohmann::json r = check(3);
    EXPECT_EQ(r["verdict"], "no-go");
    const std::string text = item(r, "settings")["text"];
    EXPECT_EQ(item(r, "settings")["status"], "no-go");
    EXPECT_TRUE(has(text, "Line B: Altitude 150 m \u2192 Altitude 200 m")) << text;
    EXPECT_TRUE(has(text, "Inhibit: 2.0 s \u2192 3.5 s")) << text;
    EXPECT_FALSE(has(text, "Line A")) << text;

    // A value the Apogee mode does not use is not a difference.
    ASSERT_EQ(
        run(cli::runProfile, {"set", "Nova", "--line-b", "altitude:150", "--inhibit", "2"}).status,
        0);
    auto image = altimeter().settingsImage();
    image[11] = 0x42;  // Line A's value, unused in Apogee mode
    settings::DeviceSettings s;
    s.image = image;
    s.parse();
    s.build();
    altimeter().setSettingsImage(s.image);
    EXPECT_EQ(item(check(0), "settings")["status"], "ok");
}

TEST_F(Preflight, TheBatteryIsHeldToTheProfilesMinimum) {
    keepFlights();
    const struct {
        std::uint16_t tenths;
        const char* status;
        int exit;
    } cases[] = {{68, "no-go", 3}, {70, "warning", 0}, {73, "warning", 0}, {74, "ok", 0}};
    for (const auto& c : cases) {
        altimeter().setBatteryTenths(c.tenths);
        const nlohmann::json r = check(c.exit);
        EXPECT_EQ(item(r, "battery")["status"], c.status) << c.tenths;
    }
    altimeter().setBatteryTenths(68);
    EXPECT_TRUE(has(item(check(3), "battery")["text"], "6.8 V, below the 7.0 V"));
}

TEST_F(Preflight, TheMemoryMustBeKeptAndHaveRoomForTheNextFlight) {
    // Nothing downloaded yet: the flights would be lost by a clear.
    nlohmann::json r = check(3);
    EXPECT_EQ(item(r, "memory")["status"], "no-go");
    EXPECT_TRUE(has(item(r, "memory")["text"],
                    "3 flights on the altimeter are not in your library: download them before "
                    "clearing"));
    EXPECT_EQ(r["flights_not_in_library"], 3);

    keepFlights();
    fillMemory();
    r = check(3);
    EXPECT_EQ(r["memory_full"], true);
    EXPECT_EQ(r["memory_packets_used"], 128);
    EXPECT_TRUE(has(item(r, "memory")["text"], "next flight would not be recorded"));

    altimeter().eraseMemory();
    r = check(0);
    EXPECT_EQ(item(r, "memory")["status"], "ok");
    EXPECT_EQ(r["flights_on_device"], 0);
}

TEST_F(Preflight, PressureOutsideTheSensorsSensibleRangeWarns) {
    keepFlights();
    altimeter().setAmbientAltitude(6500.0);
    const nlohmann::json r = check(0);
    EXPECT_EQ(item(r, "pressure")["status"], "warning");
    EXPECT_TRUE(has(item(r, "pressure")["text"], "outside what the sensor reads sensibly"));
}

TEST_F(Preflight, FirmwareThisProgramDoesNotSupportIsANoGo) {
    altimeter().setFirmwareVersion(0x0140);
    const nlohmann::json r = check(3);
    EXPECT_EQ(item(r, "firmware")["status"], "no-go");
    EXPECT_TRUE(has(item(r, "firmware")["text"], "Firmware 1.40 is not the version"));
}

TEST_F(Preflight, ExitStatusesForUsageMissingProfileAndNoDevice) {
    EXPECT_EQ(run(cli::runPreflight, {}).status, 2);
    EXPECT_EQ(run(cli::runPreflight, {"--profile"}).status, 2);
    EXPECT_EQ(run(cli::runPreflight, {"--profile", "Nova", "--what"}).status, 2);
    const CliRun missing = run(cli::runPreflight, {"--profile", "Vega"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(has(missing.err, "There is no rocket profile called \"Vega\".")) << missing.err;
    altimeter().detach();
    const CliRun none = run(cli::runPreflight, {"--profile", "Nova"});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(has(none.err, "Device not found.")) << none.err;
    EXPECT_TRUE(has(none.err, "could not be made")) << none.err;
}

TEST_F(Preflight, AnUnplugAtAnyStepEndsWithoutAVerdictAndWritesNothing) {
    keepFlights();
    const std::uint64_t start = altimeter().reportsProduced();
    ASSERT_EQ(run(cli::runPreflight, {"--profile", "Nova"}).status, 0);
    const std::uint64_t reports = altimeter().reportsProduced() - start;
    ASSERT_GT(reports, 40u);
    // The settings, the memory, the battery and the pressure reads, each cut somewhere.
    for (const std::uint64_t at : {std::uint64_t{3}, std::uint64_t{20}, reports / 2, reports - 25,
                                   reports - 3, reports - 1}) {
        plugIn();
        altimeter().injectUnplugAtReport(at);
        const CliRun cut = run(cli::runPreflight, {"--profile", "Nova", "--json"});
        EXPECT_EQ(cut.status, 1) << "unplug at report " << at << "\n" << cut.out;
        EXPECT_TRUE(has(cut.err, "stopped answering while")) << cut.err;
        EXPECT_TRUE(cut.out.empty()) << cut.out;
        EXPECT_EQ(altimeter().settingsWrites(), 0);
        EXPECT_EQ(altimeter().clearCount(), 0);
    }
}

TEST_F(Preflight, AnUnreadableLibraryCountsEveryFlightAsNotInIt) {
    library::Outcome opened;
    tevusb::testing::TempDir broken;
    tevusb::testing::writeAll(broken / "index.sqlite", std::string(4096, 'x'));
    library::FlightLibrary lib(broken.path());
    opened = lib.open();
    ASSERT_FALSE(lib.isOpen());
    device::PreflightRequest request;
    request.profile.name = "Nova";
    request.keptFlights = [&](const std::vector<data::MemoryPacket>& packets) {
        const auto unkept = library::findUnkeptFlights(nullptr, packets, opened);
        return device::KeptAnswer{static_cast<int>(unkept.setNumbers.size()),
                                  unkept.library.message};
    };
    tevusb::testing::LogCapture quiet;
    auto result = device::runPreflight(device::theDevice(), request);
    ASSERT_TRUE(result.ok());
    const auto& memory = result.value.report.items[2];
    EXPECT_EQ(memory.status, data::CheckStatus::NoGo);
    EXPECT_TRUE(has(memory.text, "The flight library could not be read")) << memory.text;
    EXPECT_EQ(result.value.report.flightsNotInLibrary, 3);

    altimeter().eraseMemory();
    result = device::runPreflight(device::theDevice(), request);
    EXPECT_EQ(result.value.report.items[2].status, data::CheckStatus::Ok)
        << result.value.report.items[2].text;
    device::theDevice().disconnect();
}
