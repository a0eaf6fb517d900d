// SPDX-License-Identifier: MIT
// tevusb-cli stats and the statistics part of show, on files of simulated flights.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "analysis/flight_statistics.h"
#include "cli/file_commands.h"
#include "cli/statistics_text.h"
#include "cli/stats_command.h"
#include "data/data_set_store.h"
#include "flight_sets.h"
#include "support/cli_run.h"
#include "support/flight_file.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

using namespace tevusb;
namespace tt = tevusb::testing;
using nlohmann::json;

namespace {

using tevusb::testing::CliRun;

const auto run = tt::runCli;

// A file of one simulated flight; the store that wrote it gives the statistics to expect.
std::string writeFlight(const tt::TempDir& dir, const std::string& name,
                        const device::sim::FlightProfile& profile, std::uint32_t seed,
                        analysis::FlightStatistics* expected = nullptr) {
    tt::LogCapture quiet;
    EXPECT_TRUE(tt::writeFlightFile(dir / name, tt::simulate(profile, seed).words));
    if (expected != nullptr) {
        data::DataSetStore store;
        EXPECT_TRUE(store.loadSetFile(dir / name));
        store.selectSet(0);
        *expected = analysis::computeStatistics(store.current);
    }
    return (dir / name).string();
}

void expectMatches(const json& j, const analysis::FlightStatistics& s) {
    EXPECT_EQ(j.at("readings").get<std::size_t>(), s.readings);
    EXPECT_DOUBLE_EQ(j.at("duration_s").get<double>(), s.durationS);
    EXPECT_DOUBLE_EQ(j.at("ground_msl_m").get<double>(), s.groundMslM);
    ASSERT_TRUE(s.apogee && s.maxVelocity && s.launchTimeS && s.landingTimeS && s.lineA);
    EXPECT_DOUBLE_EQ(j.at("apogee").at("agl_m").get<double>(), s.apogee->aglM);
    EXPECT_DOUBLE_EQ(j.at("apogee").at("msl_m").get<double>(), s.apogeeMslM);
    EXPECT_DOUBLE_EQ(j.at("max_velocity").at("ms").get<double>(), s.maxVelocity->velocityMs);
    EXPECT_DOUBLE_EQ(j.at("max_acceleration").at("ms2").get<double>(), s.maxAccelerationMs2);
    EXPECT_DOUBLE_EQ(j.at("launch_time_s").get<double>(), *s.launchTimeS);
    EXPECT_DOUBLE_EQ(j.at("landing_time_s").get<double>(), *s.landingTimeS);
    EXPECT_EQ(j.at("line_a").at("samples").get<int>(), s.lineA->samples);
    EXPECT_DOUBLE_EQ(j.at("descent").at("main_ms").get<double>(), s.mainRateMs.value_or(-1));
}

}  // namespace

TEST(CliStats, JsonIsTheAnalysisInSiUnits) {
    tt::TempDir dir;
    analysis::FlightStatistics a, b;
    const auto fa = writeFlight(dir, "a.tev", {}, 3, &a);
    const auto fb = writeFlight(dir, "b.tev", {423.0, 3.0, 85.0, 2.1, 0.001, 19.0, 6.5}, 4, &b);

    // --units never changes the JSON: programs always get SI.
    const CliRun one = run(cli::runStats, {fa, "--json", "--units", "imperial"});
    ASSERT_EQ(one.status, 0) << one.err;
    const json j = json::parse(one.out);
    ASSERT_TRUE(j.is_object());
    expectMatches(j, a);

    const CliRun two = run(cli::runStats, {"--json", fa, fb});
    ASSERT_EQ(two.status, 0) << two.err;
    const json arr = json::parse(two.out);
    ASSERT_TRUE(arr.is_array());
    ASSERT_EQ(arr.size(), 2u);
    EXPECT_EQ(arr[0], j);
    expectMatches(arr[1], b);
}

TEST(CliStats, TablesForPeople) {
    tt::TempDir dir;
    analysis::FlightStatistics a;
    const auto fa = writeFlight(dir, "first.tev", {}, 3, &a);
    const auto fb =
        writeFlight(dir, "second-flight.tev", {78.0, 2.0, 60.0, 0.9, 0.0025, 14.0, 5.0}, 9);

    const CliRun one = run(cli::runStats, {fa, "--units", "imperial"});
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, cli::statisticsText(a, analysis::UnitSystem::Imperial));
    EXPECT_NE(one.out.find("Apogee  "), std::string::npos);
    EXPECT_NE(one.out.find(" ft ("), std::string::npos);

    // Side by side: every value of the second file starts under its name.
    const CliRun cols = run(cli::runStats, {fa, fb});
    ASSERT_EQ(cols.status, 0) << cols.err;
    std::istringstream lines(cols.out);
    std::string heading, line;
    std::getline(lines, heading);
    const std::size_t first = heading.find("first.tev");
    const std::size_t second = heading.find("second-flight.tev");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    int rows = 0;
    while (std::getline(lines, line)) {
        ++rows;
        // Values hold multi-byte characters (the dash, the squared sign): count them
        // as characters, the way a terminal shows them.
        std::size_t chars = 0, at = 0;
        while (at < line.size() && chars < second) {
            chars += (static_cast<unsigned char>(line[at]) & 0xC0) != 0x80 ? 1 : 0;
            ++at;
        }
        while (at < line.size() && (static_cast<unsigned char>(line[at]) & 0xC0) == 0x80) {
            ++at;
        }
        ASSERT_LT(at, line.size()) << line;
        EXPECT_NE(line[at], ' ') << line;
        EXPECT_EQ(line[at - 1], ' ') << line;
    }
    EXPECT_EQ(rows, 15);
    EXPECT_NE(cols.out.find("Line B"), std::string::npos);
}

// A refusal is one line, or for a file that cannot be loaded the program's line and the
// reason; standard output stays empty for scripts.
TEST(CliStats, ErrorsGoToStandardErrorOnly) {
    tt::TempDir dir;
    const auto good = writeFlight(dir, "good.tev", {}, 1);
    tt::writeAll(dir / "bad.tev", "not a flight");
    const std::string bad = (dir / "bad.tev").string();
    const std::string loadText =
        "Could not load file. Make sure the file is valid and not locked.\n" + bad +
        " is not a data-set file (.tev): it does not begin as one.\n";

    CliRun r = run(cli::runStats, {bad});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, loadText);
    EXPECT_TRUE(r.out.empty());

    r = run(cli::runStats, {good, bad, "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, bad + ": " + loadText);
    EXPECT_TRUE(r.out.empty());

    r = run(cli::runStats, {good, "--set", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "The file holds 1 set start(s); there is no set 1.\n");

    for (const auto& words : std::vector<std::vector<std::string>>{{},
                                                                   {good, "--units", "nautical"},
                                                                   {good, "--units"},
                                                                   {good, "--set", "x"},
                                                                   {good, "--csv"}}) {
        r = run(cli::runStats, words);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

TEST(CliShow, StatisticsFollowWhatShowPrinted) {
    tt::TempDir dir;
    analysis::FlightStatistics a;
    const auto file = writeFlight(dir, "a.tev", {}, 3, &a);
    const CliRun r = run(cli::runShow, {file});
    ASSERT_EQ(r.status, 0) << r.err;
    // The peaks are the statistics' own, once, not figured again before them.
    const std::size_t stats = r.out.find("Statistics of set 0:\n");
    ASSERT_NE(stats, std::string::npos);
    EXPECT_EQ(r.out.substr(0, stats).find("velocity"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.substr(stats + 21), cli::statisticsText(a, analysis::UnitSystem::Metric, "  "));
    EXPECT_EQ(run(cli::runShow, {file, "--units", "yards"}).status, 2);
}
