// SPDX-License-Identifier: MIT
// The plain verdict of each line, from hand-made runs on a steady climb: as set, off by
// more than a sample, not fired, fired where it must not, and a quiet disabled line.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "analysis/emulation_recorder.h"
#include "analysis/emulation_report_json.h"
#include "analysis/emulation_report_text.h"
#include "ramp_set.h"
#include "support/log_capture.h"

namespace tevusb::analysis {
namespace {

using settings::LineMode;
constexpr int kLaunch = 14, kLineA = 15, kLineB = 16, kEnd = 19;

using tevusb::testing::rampSet;

// Line A on Time 3.0 s, line B on Altitude 100 m (sample 50), inhibit 2 s.
settings::DeviceSettings lines(LineMode a, LineMode b, std::uint16_t aValue = 30) {
    settings::DeviceSettings s;
    s.lineAMode = static_cast<std::uint8_t>(a);
    s.lineBMode = static_cast<std::uint8_t>(b);
    s.lineAValue = aValue;
    s.lineBValue = 100;
    s.inhibitTime = 20;
    return s;
}

// The launch is seen on sample 0; each further reply on sample `samplesSent - 1`.
EmulationReport report(const data::DataSet& set, const settings::DeviceSettings& s,
                       std::vector<EmulationReply> replies) {
    EmulationRecorder recorder;
    recorder.add(kLaunch, 1);
    for (const auto& r : replies) {
        recorder.add(r.code, r.samplesSent);
    }
    recorder.add(kEnd, 80);
    return buildEmulationReport(set, s, recorder.finish(true, false));
}

std::string headline(const EmulationReport& r, char line) {
    return lineHeadline(line == 'A' ? r.lineA : r.lineB, UnitSystem::Metric);
}

class Verdicts : public ::testing::Test {
  protected:
    testing::LogCapture m_quiet;
    data::DataSet m_set = rampSet(80);
};

TEST_F(Verdicts, FiredAsSetPassesAndAQuietDisabledLinePasses) {
    const auto r = report(m_set, lines(LineMode::Time, LineMode::Disabled), {{kLineA, 31}});
    EXPECT_EQ(verdictOf(r.lineA), Verdict::Pass);
    EXPECT_EQ(verdictOf(r.lineB), Verdict::Pass);
    EXPECT_EQ(overallVerdict(r), Verdict::Pass);
    EXPECT_EQ(headline(r, 'A'), "PASS  Line A: Time 3.0 s: fired as set");
    EXPECT_EQ(headline(r, 'B'), "PASS  Line B: Disabled: not set to fire");
    EXPECT_EQ(verdictReasonText(r.lineA, r, UnitSystem::Metric), "");
    const auto j = nlohmann::json::parse(emulationReportJson(r));
    EXPECT_EQ(j["verdict"], "pass");
    EXPECT_EQ(j["lines"]["a"]["verdict"], "pass");
    EXPECT_EQ(j["lines"]["a"]["finding"], "fired_as_set");
    EXPECT_EQ(j["lines"]["b"]["verdict"], "pass");
}

TEST_F(Verdicts, OffByMoreThanASampleAsksForACheckAndSaysHowFarAndWhy) {
    const auto r =
        report(m_set, lines(LineMode::Time, LineMode::Altitude), {{kLineA, 33}, {kLineB, 57}});
    EXPECT_EQ(verdictOf(r.lineA), Verdict::Check);
    EXPECT_EQ(headline(r, 'A'), "CHECK Line A: Time 3.0 s: fired 0.2 s after its 3 s setting");
    EXPECT_NE(verdictReasonText(r.lineA, r, UnitSystem::Metric).find("detected"),
              std::string::npos);
    // 112 m against 100 m: six samples' travel away.
    EXPECT_EQ(verdictOf(r.lineB), Verdict::Check);
    EXPECT_EQ(headline(r, 'B'), "CHECK Line B: Altitude 100 m: fired 12 m above its 100 m setting");
    EXPECT_NE(verdictReasonText(r.lineB, r, UnitSystem::Metric).find("2 m of travel"),
              std::string::npos);
    const std::string text = formatEmulationReport(r, UnitSystem::Metric);
    EXPECT_NE(text.find("Verdict: CHECK\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  why: "), std::string::npos) << text;
    EXPECT_EQ(nlohmann::json::parse(emulationReportJson(r))["lines"]["b"]["verdict"], "check");
}

TEST_F(Verdicts, WithinOneSampleOrOnTheRecordedSamplePasses) {
    // 102 m for a 100 m setting at 2 m a sample: the first sample past the height.
    const auto near = report(m_set, lines(LineMode::Disabled, LineMode::Altitude), {{kLineB, 52}});
    EXPECT_EQ(verdictOf(near.lineB), Verdict::Pass);

    // 94 m is three samples early, but the recorded flight fired there too: the altimeter
    // behaved as in the air (its own ground reference differs from ours).
    data::DataSet recorded = m_set;
    recorded.lineFlags[47] = 1;
    const auto same =
        report(recorded, lines(LineMode::Disabled, LineMode::Altitude), {{kLineB, 48}});
    EXPECT_EQ(verdictOf(same.lineB), Verdict::Pass);
    const auto other = report(m_set, lines(LineMode::Disabled, LineMode::Altitude), {{kLineB, 48}});
    EXPECT_EQ(verdictOf(other.lineB), Verdict::Check);
}

TEST_F(Verdicts, NotFiredOrFiredWhereItMustNotFails) {
    const auto quiet = report(m_set, lines(LineMode::Time, LineMode::Altitude), {});
    EXPECT_EQ(verdictOf(quiet.lineA), Verdict::Fail);
    EXPECT_EQ(verdictOf(quiet.lineB), Verdict::Fail);
    EXPECT_EQ(headline(quiet, 'A'), "FAIL  Line A: Time 3.0 s: did not fire");
    EXPECT_EQ(overallVerdict(quiet), Verdict::Fail);

    const auto disabled =
        report(m_set, lines(LineMode::Disabled, LineMode::Disabled), {{kLineB, 40}});
    EXPECT_EQ(verdictOf(disabled.lineB), Verdict::Fail);
    EXPECT_EQ(verdictOf(disabled.lineA), Verdict::Pass);
    EXPECT_EQ(verdictReasonText(disabled.lineB, disabled, UnitSystem::Metric),
              "The line is disabled, yet the altimeter fired it.");
    const auto j = nlohmann::json::parse(emulationReportJson(disabled));
    EXPECT_EQ(j["verdict"], "fail");
    EXPECT_EQ(j["lines"]["b"]["verdict"], "fail");
    EXPECT_EQ(j["lines"]["b"]["finding"], "not_set_to_fire");

    // A 1 s Time line that fired on time, but inside the 2 s inhibit time.
    const auto early = report(m_set, lines(LineMode::Time, LineMode::Disabled, 10), {{kLineA, 11}});
    EXPECT_EQ(early.lineA.verdict, LineVerdict::FiredAsSet);
    EXPECT_EQ(verdictOf(early.lineA), Verdict::Fail);
    EXPECT_NE(verdictReasonText(early.lineA, early, UnitSystem::Metric).find("inhibit"),
              std::string::npos);
}

}  // namespace
}  // namespace tevusb::analysis
