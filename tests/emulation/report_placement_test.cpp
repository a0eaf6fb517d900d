// SPDX-License-Identifier: MIT
// The report's edges on hand-made runs: where events cannot be placed, how a run ended,
// and lines that fired when they should not have.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "analysis/emulation_recorder.h"
#include "analysis/emulation_report_json.h"
#include "analysis/emulation_report_text.h"
#include "ramp_set.h"
#include "support/log_capture.h"

namespace tevusb::analysis {
namespace {

constexpr int kLaunch = 14, kLineA = 15, kLineB = 16, kApogee = 17, kEnd = 19;

using tevusb::testing::rampSet;

settings::DeviceSettings lines(settings::LineMode a, settings::LineMode b) {
    settings::DeviceSettings s;
    s.lineAMode = static_cast<std::uint8_t>(a);
    s.lineBMode = static_cast<std::uint8_t>(b);
    s.lineAValue = 30;
    s.lineBValue = 100;
    s.inhibitTime = 20;
    return s;
}

EmulationRun run(std::vector<EmulationReply> replies, bool ok = true, bool cancelled = false) {
    EmulationRecorder recorder;
    recorder.add(EmulationRecorder::kSampleRequestCode, 0);
    for (const auto& r : replies) {
        recorder.add(r.code, r.samplesSent);
        recorder.add(EmulationRecorder::kSampleRequestCode, r.samplesSent);
    }
    return recorder.finish(ok, cancelled);
}

TEST(ReportPlacement, AnEventBelongsToTheSampleSentBeforeItAndNothingOutsideTheSet) {
    const data::DataSet set = rampSet(40);
    EXPECT_FALSE(placeReply(set, 0)) << "reported before any sample was sent";
    ASSERT_TRUE(placeReply(set, 1));
    EXPECT_EQ(placeReply(set, 1)->sample, 0);
    const auto p = placeReply(set, 13);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->sample, 12);
    EXPECT_DOUBLE_EQ(p->timeS, 1.2);
    EXPECT_DOUBLE_EQ(p->aglM, 24.0);
    EXPECT_DOUBLE_EQ(p->velocityMs, 20.0);
    EXPECT_TRUE(placeReply(set, 40));
    EXPECT_FALSE(placeReply(set, 41)) << "a set that shrank under the emulation";
    EXPECT_FALSE(placeReply(set, -5));
    EXPECT_FALSE(placeReply(data::DataSet{}, 1));
}

TEST(ReportPlacement, UnplacedEventsAreNullInJsonAndTheRecorderSkipsSampleRequests) {
    testing::LogCapture quiet;
    const data::DataSet set = rampSet(40);
    const auto report =
        buildEmulationReport(set, lines(settings::LineMode::Time, settings::LineMode::Disabled),
                             run({{kLaunch, 0}, {18, 50}}));
    ASSERT_EQ(report.events.size(), 2u);
    EXPECT_EQ(report.end, EmulationEnd::UnknownCode);
    const auto j = nlohmann::json::parse(emulationReportJson(report));
    EXPECT_TRUE(j["events"][0]["sample"].is_null());
    EXPECT_TRUE(j["events"][0]["time_s"].is_null());
    EXPECT_EQ(j["events"][1]["name"], "Unknown code 18");
    EXPECT_TRUE(j["events"][1]["agl_m"].is_null());
    EXPECT_TRUE(j["lines"]["a"]["time_s"].is_null());
    EXPECT_EQ(j["lines"]["a"]["finding"], "did_not_fire");
    EXPECT_EQ(j["lines"]["b"]["finding"], "not_set_to_fire");
    EXPECT_TRUE(j["apogee_delay_s"].is_null());
}

TEST(ReportPlacement, HowTheRunEndedIsToldApart) {
    testing::LogCapture quiet;
    const data::DataSet set = rampSet(40);
    const auto s = lines(settings::LineMode::Apogee, settings::LineMode::Altitude);
    EXPECT_EQ(buildEmulationReport(set, s, run({{kLaunch, 5}, {kEnd, 30}})).end,
              EmulationEnd::EndOfLaunch);
    EXPECT_EQ(buildEmulationReport(set, s, run({{kLaunch, 5}})).end, EmulationEnd::DataRanOut);
    EXPECT_EQ(buildEmulationReport(set, s, run({{kLaunch, 5}}, true, true)).end,
              EmulationEnd::Cancelled);
    // A closing reply that is not Complete fails the run even after the device's end.
    const auto failed = buildEmulationReport(set, s, run({{kLaunch, 5}, {kEnd, 30}}, false));
    EXPECT_EQ(failed.end, EmulationEnd::Failed);
    EXPECT_NE(formatEmulationReport(failed, UnitSystem::Metric).find("The emulation failed"),
              std::string::npos);
}

TEST(ReportPlacement, LinesThatFireWhenTheyShouldNotAreCalledOut) {
    testing::LogCapture quiet;
    const data::DataSet set = rampSet(60);
    // Line A disabled yet fired; Line B fired 0.5 s after launch, inside a 2 s inhibit.
    settings::DeviceSettings s = lines(settings::LineMode::Disabled, settings::LineMode::Time);
    s.lineBValue = 30;
    const auto report = buildEmulationReport(
        set, s, run({{kLaunch, 11}, {kLineA, 20}, {kLineB, 16}, {kApogee, 50}, {kEnd, 55}}));
    EXPECT_EQ(report.lineA.verdict, LineVerdict::NotSetToFire);
    EXPECT_EQ(lineVerdictText(report.lineA, UnitSystem::Metric), "not set to fire, yet it fired");
    ASSERT_TRUE(report.lineB.offset);
    EXPECT_TRUE(report.lineB.insideInhibit);
    EXPECT_NEAR(*report.lineB.offset, -2.5, 1e-9);
    EXPECT_EQ(lineVerdictText(report.lineB, UnitSystem::Metric),
              "fired 2.5 s before its 3 s setting");
    EXPECT_NE(
        formatEmulationReport(report, UnitSystem::Metric).find("fired inside the 2 s inhibit"),
        std::string::npos);
}

TEST(ReportPlacement, AnUnknownLineModeIsNeverTakenForASetting) {
    testing::LogCapture quiet;
    settings::DeviceSettings s = lines(settings::LineMode::Apogee, settings::LineMode::Apogee);
    s.lineBMode = 9;
    const auto report = buildEmulationReport(rampSet(30), s, run({{kLineB, 20}}));
    EXPECT_EQ(report.lineB.verdict, LineVerdict::NotSetToFire);
    EXPECT_EQ(lineSettingText(report.lineB, UnitSystem::Metric), "Mode 9 (unknown)");
    const auto j = nlohmann::json::parse(emulationReportJson(report));
    EXPECT_EQ(j["lines"]["b"]["mode"], "unknown");
}

}  // namespace
}  // namespace tevusb::analysis
