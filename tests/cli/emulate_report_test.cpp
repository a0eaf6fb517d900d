// SPDX-License-Identifier: MIT
// `emulate --report`: the bench-test report on the command line, text and JSON.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/device_commands.h"
#include "device/altimeter_device.h"
#include "device/sim/sim_backend.h"
#include "support/cli_run.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

using namespace tevusb;

namespace {

using CommandRun = tevusb::testing::CliRun;

class EmulateReport : public ::testing::Test {
  protected:
    void SetUp() override {
        device::sim::SimConfig config;
        config.timing = device::sim::SimTiming::instant();
        m_backend = std::make_shared<device::sim::SimBackend>(config);
        auto backend = m_backend;
        device::setDeviceBackendFactory([backend] { return backend; });
        ASSERT_EQ(run(cli::runDownload, {"--out", m_dir.path().string()}).status, 0);
    }
    void TearDown() override {
        device::theDevice().disconnect();
        device::setDeviceBackendFactory(nullptr);
    }
    CommandRun run(tevusb::testing::CliCommand command, std::vector<std::string> words) {
        CommandRun result = tevusb::testing::runCli(command, std::move(words));
        device::theDevice().disconnect();
        return result;
    }
    std::string flight(int k) const {
        return (m_dir / ("set" + std::to_string(k) + ".tev")).string();
    }

    tevusb::testing::TempDir m_dir;
    std::shared_ptr<device::sim::SimBackend> m_backend;
};

TEST_F(EmulateReport, JsonAloneOnStandardOutputWithEveryEventInOrder) {
    settings::DeviceSettings s;
    s.lineBMode = static_cast<std::uint8_t>(settings::LineMode::Disabled);
    s.build();
    m_backend->altimeter().setSettingsImage(s.image);
    const CommandRun r = run(cli::runEmulate, {flight(3), "--report", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);  // throws if anything else is mixed in
    const auto raised = m_backend->altimeter().emulationEvents();
    ASSERT_EQ(j["events"].size(), raised.size());
    for (std::size_t i = 0; i < raised.size(); ++i) {
        EXPECT_EQ(j["events"][i]["code"].get<int>(), static_cast<int>(raised[i].code));
        EXPECT_EQ(j["events"][i]["sample"].get<int>(), raised[i].sample);
        EXPECT_NEAR(j["events"][i]["time_s"].get<double>(), raised[i].sample / 10.0, 1e-9);
    }
    EXPECT_EQ(j["lines"]["a"]["mode"], "apogee");
    EXPECT_FALSE(j["lines"]["a"]["time_s"].is_null());
    EXPECT_EQ(j["lines"]["b"]["finding"], "not_set_to_fire");
    EXPECT_EQ(j["lines"]["b"]["verdict"], "pass") << "not set to fire and quiet";
    EXPECT_TRUE(j["verdict"] == "pass" || j["verdict"] == "check" || j["verdict"] == "fail");
    EXPECT_TRUE(j["lines"]["b"]["agl_m"].is_null());
    EXPECT_GT(j["apogee_delay_s"].get<double>(), 0.0);
    // The status lines still reach the user, on standard error.
    EXPECT_NE(r.err.find("Launch detected."), std::string::npos);
}

TEST_F(EmulateReport, TextReportFollowsTheUsualLinesAndOptionsAreChecked) {
    const CommandRun plain = run(cli::runEmulate, {flight(3)});
    ASSERT_EQ(plain.status, 0);
    const CommandRun r = run(cli::runEmulate, {flight(3), "--report", "--units", "imperial"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.out.rfind(plain.out, 0), 0u) << "today's lines come first, unchanged";
    const std::string report = r.out.substr(plain.out.size());
    EXPECT_NE(report.find("Launch emulation bench test, set 1"), std::string::npos) << report;
    // Each line's result leads with its verdict word, before any detail.
    const auto lineB = report.find("Line B: Altitude 492 ft (150 m):");
    ASSERT_NE(lineB, std::string::npos) << report;
    const std::string lead = report.substr(report.rfind('\n', lineB) + 1, 6);
    EXPECT_TRUE(lead == "PASS  " || lead == "CHECK " || lead == "FAIL  ") << lead;
    EXPECT_LT(lineB, report.find("Settings: ")) << "verdicts first, then the details";
    EXPECT_NE(report.find("Apogee detection delay: "), std::string::npos);

    EXPECT_EQ(run(cli::runEmulate, {flight(3), "--json"}).status, 2) << "--json needs --report";
    const CommandRun bad = run(cli::runEmulate, {flight(3), "--report", "--units", "cubits"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("metric or imperial"), std::string::npos);
}

}  // namespace
