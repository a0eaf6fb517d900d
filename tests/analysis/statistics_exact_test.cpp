// SPDX-License-Identifier: MIT
// Statistics of flights drawn by hand, where every event is known exactly.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/flight_statistics.h"
#include "flight_sets.h"

using tevusb::analysis::computeStatistics;
using tevusb::analysis::FlightStatistics;
using tevusb::testing::handSet;

namespace {

// Two seconds on the pad, a 50 m/s^2 boost for one second, a coast at -10 m/s^2 to a
// 150 m apogee at 8 s, 10 m/s under the drogue down to 80 m at 15 s, 5 m/s under the
// main to the ground at 31 s, then five seconds on the ground.
double altitudeAt(double t) {
    if (t <= 2.0) {
        return 0.0;
    }
    if (t <= 3.0) {
        return 25.0 * (t - 2.0) * (t - 2.0);
    }
    if (t <= 8.0) {
        const double u = t - 3.0;
        return 25.0 + 50.0 * u - 5.0 * u * u;
    }
    if (t <= 15.0) {
        return 150.0 - 10.0 * (t - 8.0);
    }
    return std::max(0.0, 80.0 - 5.0 * (t - 15.0));
}

// The drawn flight recorded up to sample `last`.
tevusb::data::DataSet drawnFlight(int last = 360) {
    std::vector<double> agl;
    for (int i = 0; i <= last; ++i) {
        agl.push_back(altitudeAt(i / 10.0));
    }
    auto set = handSet(agl);
    for (int i = 81; i <= 90; ++i) {
        set.lineFlags[static_cast<std::size_t>(i)] |= 2;
    }
    for (int i = 150; i <= 159; ++i) {
        set.lineFlags[static_cast<std::size_t>(i)] |= 1;
    }
    return set;
}

}  // namespace

TEST(StatisticsExact, EveryEventOfADrawnFlight) {
    const FlightStatistics s = computeStatistics(drawnFlight());
    EXPECT_EQ(s.flags, 0u);
    EXPECT_EQ(s.readings, 361u);
    EXPECT_DOUBLE_EQ(s.durationS, 36.0);
    EXPECT_DOUBLE_EQ(s.groundMslM, 100.0);

    ASSERT_TRUE(s.apogee);
    EXPECT_EQ(s.apogee->sample, 80);
    EXPECT_DOUBLE_EQ(s.apogee->aglM, 150.0);
    EXPECT_DOUBLE_EQ(s.apogeeMslM, 250.0);

    ASSERT_TRUE(s.launchTimeS && s.burnoutTimeS && s.landingTimeS);
    EXPECT_NEAR(*s.launchTimeS, 2.0, 1e-6);
    EXPECT_NEAR(*s.burnoutTimeS, 3.0, 1e-6);
    EXPECT_NEAR(*s.landingTimeS, 31.0, 1e-6);

    ASSERT_TRUE(s.maxAcceleration);
    EXPECT_NEAR(s.maxAccelerationMs2, 50.0, 1e-6);
    EXPECT_GE(s.maxAcceleration->timeS, 2.0);
    EXPECT_LE(s.maxAcceleration->timeS, 3.0);

    ASSERT_TRUE(s.drogueRateMs && s.mainRateMs);
    EXPECT_NEAR(*s.drogueRateMs, 10.0, 1e-6);
    EXPECT_NEAR(*s.mainRateMs, 5.0, 1e-6);
}

TEST(StatisticsExact, LinesAndPeakVelocityAreTheFirstSamples) {
    auto set = drawnFlight();
    // The central difference peaks at 3.1 s; a later velocity as large must not move
    // the label.
    ASSERT_DOUBLE_EQ(set.velocity[31], 49.0);
    set.velocity[200] = 49.0;
    const FlightStatistics s = computeStatistics(set);
    ASSERT_TRUE(s.lineA && s.lineB && s.maxVelocity);
    EXPECT_EQ(s.lineA->at.sample, 81);
    EXPECT_DOUBLE_EQ(s.lineA->at.timeS, 8.1);
    EXPECT_DOUBLE_EQ(s.lineA->at.aglM, 149.0);
    EXPECT_EQ(s.lineA->samples, 10);
    EXPECT_EQ(s.lineB->at.sample, 150);
    EXPECT_DOUBLE_EQ(s.lineB->at.aglM, 80.0);
    EXPECT_EQ(s.maxVelocity->sample, 31);
    EXPECT_DOUBLE_EQ(s.maxVelocity->velocityMs, 49.0);
}

TEST(StatisticsExact, DescentPhasesFollowTheLines) {
    auto set = drawnFlight();
    // Without Line B the whole descent is one phase; its rate lies between the two.
    for (auto& f : set.lineFlags) {
        f &= 2;
    }
    FlightStatistics s = computeStatistics(set);
    EXPECT_FALSE(s.lineB);
    EXPECT_FALSE(s.mainRateMs);
    ASSERT_TRUE(s.drogueRateMs);
    EXPECT_GT(*s.drogueRateMs, 5.0);
    EXPECT_LT(*s.drogueRateMs, 10.0);

    // Line B fired on the way up: the main was out from apogee, so there is no drogue
    // phase and the main phase starts at apogee.
    set = drawnFlight();
    for (auto& f : set.lineFlags) {
        f &= 2;
    }
    for (int i = 40; i < 50; ++i) {
        set.lineFlags[static_cast<std::size_t>(i)] |= 1;
    }
    s = computeStatistics(set);
    EXPECT_FALSE(s.drogueRateMs);
    ASSERT_TRUE(s.mainRateMs);
    EXPECT_EQ(s.lineB->at.sample, 40);
}

TEST(StatisticsExact, RecordingCutAtTouchdownStillLands) {
    // The drawn flight touches down at 31 s (sample 310); the ground band of a clean
    // series is 1 m. Ending at the touchdown sample or half a second later is a landing;
    // ending at 30.5 s, 2.5 m up and falling, is not.
    for (const int last : {310, 315}) {
        SCOPED_TRACE(last);
        const FlightStatistics s = computeStatistics(drawnFlight(last));
        EXPECT_FALSE(s.has(tevusb::analysis::kNoLanding));
        ASSERT_TRUE(s.landingTimeS);
        EXPECT_NEAR(*s.landingTimeS, 31.0, 1e-6);
        ASSERT_TRUE(s.mainRateMs);
        EXPECT_NEAR(*s.mainRateMs, 5.0, 1e-6);
    }
    const FlightStatistics inAir = computeStatistics(drawnFlight(305));
    EXPECT_TRUE(inAir.has(tevusb::analysis::kNoLanding));
    EXPECT_FALSE(inAir.landingTimeS);
    EXPECT_TRUE(inAir.launchTimeS);
}
