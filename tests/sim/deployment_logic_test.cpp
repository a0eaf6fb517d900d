// SPDX-License-Identifier: MIT
// The flight logic on clean synthetic flights, where every sample is known.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "data/altitude_converter.h"
#include "device/sim/deployment_logic.h"

namespace tevusb::device::sim::test {
namespace {

constexpr double kGround = 300.0;

// A flight given by its height above ground at t seconds: 3 s on the pad, a 3 s climb to
// 200 m, a parabolic top, then a 10 m/s descent.
double height(double t) {
    if (t < 3.0) {
        return 0.0;
    }
    const double s = t - 3.0;
    const double v0 = 2.0 * 9.81 * 200.0;
    const double rise = std::sqrt(v0) / 9.81;  // time to the top from 0 m at full speed
    if (s < rise) {
        return std::sqrt(v0) * s - 4.905 * s * s;
    }
    return std::max(0.0, 200.0 - 10.0 * (s - rise));
}

struct FlightRun {
    std::vector<DeploymentEvent> events;
    DeploymentLogic logic;
};

FlightRun fly(const FlightRules& rules, int samples = 400,
              const std::function<double(double)>& profile = height) {
    FlightRun run{{}, DeploymentLogic(rules)};
    const data::AltitudeConverter converter(0);
    for (int i = 0; i < samples; ++i) {
        const int count = converter.countForAltitude(kGround + profile(i / 10.0));
        for (const auto& e : run.logic.feed(static_cast<std::uint16_t>(count))) {
            run.events.push_back(e);
        }
    }
    return run;
}

std::vector<Reply> codes(const FlightRun& run) {
    std::vector<Reply> c;
    for (const auto& e : run.events) {
        c.push_back(e.code);
    }
    return c;
}

TEST(SimDeploymentLogic, DefaultSettingsGiveLaunchApogeeBothLinesAndTheEnd) {
    const FlightRun run = fly(FlightRules{});
    EXPECT_EQ(codes(run),
              (std::vector<Reply>{Reply::LaunchDetected, Reply::ApogeeDetected, Reply::LineAFired,
                                  Reply::LineBFired, Reply::EndOfLaunch}));
    EXPECT_NEAR(run.logic.groundAltitude(), kGround, 1.0);
    // Launch a few samples after lift-off at 3 s.
    EXPECT_GE(run.logic.launchSample(), 30);
    EXPECT_LE(run.logic.launchSample(), 36);
    // The top is at about 9.4 s; the apogee is reported soon after, sinking slowly.
    EXPECT_GE(run.logic.apogeeSample(), 94);
    EXPECT_LE(run.logic.apogeeSample(), 110);
    const auto apogee = run.events[1];
    EXPECT_LT(apogee.value, 0);
    EXPECT_GT(apogee.value, -12);
    // Line B at 150 m on the way down: 5 s after the top at 10 m/s.
    EXPECT_NEAR(run.logic.lineBSample(), 94 + 50, 4);
}

TEST(SimDeploymentLogic, TimeModeWaitsForTheInhibitTime) {
    FlightRules rules;
    rules.lineAMode = settings::LineMode::Time;
    rules.lineAValue = 5;  // 0.5 s, inside the inhibit time
    rules.inhibitTime = 20;
    rules.lineBMode = settings::LineMode::Time;
    rules.lineBValue = 42;
    const FlightRun run = fly(rules);
    EXPECT_EQ(run.logic.lineASample() - run.logic.launchSample(), 20);
    EXPECT_EQ(run.logic.lineBSample() - run.logic.launchSample(), 42);
}

TEST(SimDeploymentLogic, AltitudeModeFiresOnlyOnTheWayDown) {
    FlightRules rules;
    rules.lineAMode = settings::LineMode::Altitude;
    rules.lineAValue = 100;  // passed at about 4 s on the way up
    rules.lineBMode = settings::LineMode::Disabled;
    const FlightRun run = fly(rules);
    ASSERT_GE(run.logic.lineASample(), 0);
    EXPECT_GT(run.logic.lineASample(), run.logic.apogeeSample());
    EXPECT_NEAR(run.logic.lineASample(), 94 + 100, 4);
    EXPECT_EQ(run.logic.lineBSample(), -1);
    for (const auto& e : run.events) {
        EXPECT_NE(e.code, Reply::LineBFired);
    }
}

TEST(SimDeploymentLogic, AnAltitudeAboveTheApogeeFiresAtTheApogee) {
    FlightRules rules;
    rules.lineBValue = 500;
    const FlightRun run = fly(rules);
    EXPECT_EQ(run.logic.lineBSample(), run.logic.apogeeSample());
}

TEST(SimDeploymentLogic, NothingHappensOnThePadAndTheLineFlagsLastOneSecond) {
    const FlightRun still = fly(FlightRules{}, 300, [](double) { return 0.0; });
    EXPECT_TRUE(still.events.empty());
    EXPECT_FALSE(still.logic.launched());

    FlightRules rules;
    DeploymentLogic logic(rules);
    const data::AltitudeConverter converter(0);
    std::vector<std::uint8_t> flags;
    for (int i = 0; i < 400; ++i) {
        logic.feed(
            static_cast<std::uint16_t>(converter.countForAltitude(kGround + height(i / 10.0))));
        flags.push_back(logic.firingFlags());
    }
    const auto a = static_cast<std::size_t>(logic.lineASample());
    ASSERT_GT(a, 0u);
    EXPECT_EQ(flags[a - 1] & 2, 0);
    for (std::size_t i = a; i < a + 10; ++i) {
        EXPECT_NE(flags[i] & 2, 0) << i;
    }
    EXPECT_EQ(flags[a + 10] & 2, 0);
}

TEST(SimDeploymentLogic, ALandingInATreeStillEndsTheLaunch) {
    // Stuck at 40 m after coming down to it.
    const FlightRun run =
        fly(FlightRules{}, 600, [](double t) { return std::max(40.0, height(t)); });
    ASSERT_FALSE(run.events.empty());
    EXPECT_EQ(run.events.back().code, Reply::EndOfLaunch);
    // Nothing after the end, however long the samples keep coming.
    EXPECT_TRUE(run.logic.ended());
}

TEST(SimDeploymentLogic, SettingsImageDecoding) {
    settings::DeviceSettings s;
    s.lineAMode = 1;
    s.lineBMode = 0;
    s.lineAValue = 77;
    s.inhibitTime = 9;
    s.adcOffset = -300;
    s.build();
    FlightRules rules = FlightRules::fromImage(s.image);
    EXPECT_EQ(rules.lineAMode, settings::LineMode::Time);
    EXPECT_EQ(rules.lineBMode, settings::LineMode::Disabled);
    EXPECT_EQ(rules.lineAValue, 77);
    EXPECT_EQ(rules.inhibitTime, 9);
    EXPECT_EQ(rules.adcOffset, -300);

    // A mode the firmware does not know never fires.
    auto unknown = s.image;
    unknown[10] = 0x73;
    unknown[15] = static_cast<std::uint8_t>(settings::computeChecksum(unknown) & 0xFF);
    unknown[16] = static_cast<std::uint8_t>(settings::computeChecksum(unknown) >> 8);
    rules = FlightRules::fromImage(unknown);
    EXPECT_EQ(rules.lineAMode, settings::LineMode::Altitude);
    EXPECT_EQ(rules.lineBMode, settings::LineMode::Disabled);

    // A broken image is not flown: the factory defaults are.
    auto broken = s.image;
    broken[16] ^= 1;
    rules = FlightRules::fromImage(broken);
    EXPECT_EQ(rules.lineAMode, settings::LineMode::Apogee);
    EXPECT_EQ(rules.inhibitTime, 20);
    EXPECT_EQ(rules.adcOffset, 0);
}

}  // namespace
}  // namespace tevusb::device::sim::test
