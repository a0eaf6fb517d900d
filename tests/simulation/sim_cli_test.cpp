// SPDX-License-Identifier: MIT
// tevusb-cli sim and stats --sim on simulation files and simulated flights.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/sim_command.h"
#include "cli/stats_command.h"
#include "data/data_set_store.h"
#include "device/sim/flight_simulator.h"
#include "support/cli_run.h"
#include "support/flight_file.h"
#include "support/log_capture.h"
#include "support/sim_files.h"
#include "support/temp_dir.h"

using namespace tevusb;
namespace tt = tevusb::testing;
using nlohmann::json;

namespace {

const std::vector<tt::OrkSimulation> kThree = {
    {"F67 at the club field", true, 1, false, 1.0},
    {"G80 windy", false, 1, false, 1.4},
    {"H128 two stages", true, 2, false, 2.0},
};

// A flight file of the simulated altimeter's default flight (its drag is k 0.0015 /m).
std::string writeFlight(const tt::TempDir& dir) {
    tt::LogCapture quiet;
    device::sim::PressureSensor sensor(5);
    const auto words = device::sim::simulateFlight({}, device::sim::FlightRules{}, sensor).words;
    EXPECT_TRUE(tt::writeFlightFile(dir / "flight.tev", words));
    return (dir / "flight.tev").string();
}

TEST(SimCommand, ListsEverySimulationAsJsonInFileOrder) {
    tt::TempDir dir;
    tt::writeAll(dir / "club.ork", tt::zipped(tt::orkXml(kThree)));
    const auto run = tt::runCli(cli::runSim, {(dir / "club.ork").string(), "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const json j = json::parse(run.out);
    ASSERT_EQ(j.size(), 3u);
    const auto& f = tt::referenceFlight();
    EXPECT_EQ(j[0]["name"], "F67 at the club field");
    EXPECT_EQ(j[0]["points"], f.t.size());
    EXPECT_NEAR(j[0]["apogee_m"].get<double>(), f.apogeeM, 0.2);
    EXPECT_NEAR(j[0]["apogee_time_s"].get<double>(), 10.65, 1e-9);
    EXPECT_NEAR(j[0]["max_velocity_ms"].get<double>(), 90.0, 1e-6);
    EXPECT_EQ(j[0]["events"][1], json({{"type", "burnout"}, {"time_s", 1.5}}));
    EXPECT_NEAR(j[0]["coast_mass_kg"].get<double>(), 1.2, 1e-9);
    EXPECT_NEAR(j[0]["reference_area_m2"].get<double>(), 0.0025517586, 1e-9);
    // Results only: apogee from the summary, nothing invented for the rest.
    EXPECT_EQ(j[1]["points"], 0);
    EXPECT_NEAR(j[1]["apogee_m"].get<double>(), f.apogeeM * 1.4, 1e-3);
    EXPECT_TRUE(j[1]["max_velocity_ms"].is_null());
    EXPECT_TRUE(j[1]["coast_mass_kg"].is_null());
    EXPECT_EQ(j[1]["events"], json::array());

    const auto text = tt::runCli(cli::runSim, {(dir / "club.ork").string(), "--units", "imperial"});
    EXPECT_TRUE(tt::has(text.out, "2. G80 windy")) << text.out;
    EXPECT_TRUE(tt::has(text.out, " ft at ")) << text.out;
}

TEST(SimCommand, AFileWithoutASimulationFailsWithOneLineAndNoOutput) {
    tt::TempDir dir;
    const std::pair<const char*, std::string> files[] = {
        {"empty.csv", ""},
        {"flight.tev", std::string("\x02\x00\xff\xff binary", 12)},
        {"cut.ork", tt::zipped(tt::orkXml(kThree)).substr(0, 300)},
        {"nan.csv", "# Time (s),Altitude (m)\nNaN,NaN\n"},
    };
    for (const auto& [name, bytes] : files) {
        tt::writeAll(dir / name, bytes);
        const auto run = tt::runCli(cli::runSim, {(dir / name).string(), "--json"});
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_EQ(run.out, "") << name;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_TRUE(tt::has(run.err, name)) << run.err;
    }
}

TEST(StatsWithSimulation, JsonCarriesComparisonAndCoastDrag) {
    tt::TempDir dir;
    const std::string flight = writeFlight(dir);
    tt::writeAll(dir / "club.ork", tt::gzipped(tt::orkXml(kThree)));
    const std::string ork = (dir / "club.ork").string();

    const auto plain = tt::runCli(cli::runStats, {flight, "--json"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    const json p = json::parse(plain.out);
    EXPECT_FALSE(p.contains("simulation"));
    const double k = p["coast_drag"]["k_per_m"].get<double>();
    EXPECT_NEAR(k, 0.0015, 0.0003);
    EXPECT_TRUE(p["coast_drag"]["cd"].is_null());

    const auto run = tt::runCli(cli::runStats, {flight, "--sim", ork, "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const json j = json::parse(run.out);
    const json& sim = j["simulation"];
    EXPECT_EQ(sim["name"], "F67 at the club field");  // the first with data
    const double flown = j["apogee"]["agl_m"].get<double>();
    const double simulated = sim["apogee_m"].get<double>();
    EXPECT_NEAR(sim["apogee_error_pct"].get<double>(), 100.0 * (flown - simulated) / simulated,
                1e-9);
    EXPECT_NEAR(sim["comparison"]["apogee_m"]["difference"].get<double>(), flown - simulated, 1e-9);
    // Mass and area from the simulation; Cd = 2 m k / (rho A).
    const json& drag = j["coast_drag"];
    EXPECT_NEAR(drag["mass_kg"].get<double>(), 1.2, 1e-9);
    const double area = drag["reference_area_m2"].get<double>();
    const double rho = 1.225 * std::pow(1.0 - 0.0065 * 150.0 / 288.15, 4.2559);
    EXPECT_NEAR(drag["cd"].get<double>(), 2.0 * 1.2 * k / (rho * area), 0.01);
    EXPECT_NEAR(drag["sim_cd"].get<double>(), 0.485, 0.01);
    EXPECT_TRUE(tt::has(sim["verdict"].get<std::string>(), "set the simulator's Cd override"));

    // The command line's mass and diameter win over the simulation's.
    const auto given = tt::runCli(cli::runStats, {flight, "--sim", ork, "--sim-name", "G80 windy",
                                                  "--mass", "2.4", "--diameter", "0.1", "--json"});
    ASSERT_EQ(given.status, 0) << given.err;
    const json g = json::parse(given.out);
    EXPECT_EQ(g["simulation"]["name"], "G80 windy");
    EXPECT_EQ(g["simulation"]["points"], 0);
    EXPECT_EQ(g["coast_drag"]["mass_kg"], 2.4);
    EXPECT_NEAR(g["coast_drag"]["reference_area_m2"].get<double>(), 0.0078539816, 1e-9);
    EXPECT_TRUE(g["coast_drag"]["sim_cd"].is_null());
}

TEST(StatsWithSimulation, TextAndRefusals) {
    tt::TempDir dir;
    const std::string flight = writeFlight(dir);
    tt::CsvOptions o;
    tt::writeAll(dir / "club.csv", tt::openRocketCsv(o));
    const std::string csv = (dir / "club.csv").string();

    const auto plain = tt::runCli(cli::runStats, {flight});
    const auto text = tt::runCli(cli::runStats, {flight, "--sim", csv});
    ASSERT_EQ(text.status, 0) << text.err;
    // The flight's own table stands first, unchanged; the drag and comparison follow.
    const std::string table = plain.out.substr(0, plain.out.find("Notes"));
    EXPECT_EQ(text.out.substr(0, table.size()), table);
    EXPECT_TRUE(tt::has(text.out, "Coast drag")) << text.out;
    EXPECT_TRUE(tt::has(text.out, "Simulation \"Club flight H128\" (club.csv)")) << text.out;
    EXPECT_TRUE(tt::has(text.out, "The flight reached ")) << text.out;
    EXPECT_TRUE(tt::has(text.out, "Apogee time")) << text.out;

    const auto unknown = tt::runCli(cli::runStats, {flight, "--sim", csv, "--sim-name", "X"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.out, "");
    EXPECT_TRUE(tt::has(unknown.err, "no simulation named \"X\" (it holds \"Club flight H128\")"));
    EXPECT_EQ(tt::runCli(cli::runStats, {flight, flight, "--sim", csv}).status, 2);
    EXPECT_EQ(tt::runCli(cli::runStats, {flight, "--mass", "0"}).status, 2);
    EXPECT_EQ(tt::runCli(cli::runStats, {flight, "--diameter", "5cm"}).status, 2);
    EXPECT_EQ(tt::runCli(cli::runStats, {flight, "--sim-name", "X"}).status, 2);
}

}  // namespace
