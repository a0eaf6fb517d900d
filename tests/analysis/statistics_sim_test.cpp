// SPDX-License-Identifier: MIT
// Statistics of simulated physics flights with sensor noise, against the model's truth.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/flight_statistics.h"
#include "flight_sets.h"

using namespace tevusb;
namespace tt = tevusb::testing;
using device::sim::FlightProfile;

namespace {

constexpr double kG = 9.81;

// The model's parachutes add drag to the bare rocket's, so the speed it settles at is
// a little below the canopy's nominal rate.
double terminal(double drag) {
    return std::sqrt(kG / drag);
}

struct Case {
    FlightProfile profile;
    std::uint32_t seed;
};

std::vector<Case> cases() {
    std::vector<Case> out;
    device::sim::PressureSensor draws(99);
    for (int index = 0; index < 8; ++index) {
        const FlightProfile p = device::sim::stockProfile(index, draws);
        for (std::uint32_t seed : {1u, 17u, 4242u}) {
            out.push_back({p, seed + static_cast<std::uint32_t>(index)});
        }
    }
    FlightProfile slowMain;
    slowMain.mainRate = 3.5;
    slowMain.drogueRate = 25.0;
    out.push_back({slowMain, 8});
    return out;
}

}  // namespace

TEST(StatisticsSimulated, EventsAndRatesWithinTolerance) {
    for (const Case& c : cases()) {
        const auto flight = tt::simulate(c.profile, c.seed);
        const auto set = tt::decodeWords(flight.words);
        const auto s = analysis::computeStatistics(set);
        const FlightProfile& p = c.profile;
        SCOPED_TRACE("thrust " + std::to_string(p.thrust) + " burn " + std::to_string(p.burnTime) +
                     " seed " + std::to_string(c.seed));
        ASSERT_GT(flight.landingSample, 0);
        EXPECT_EQ(s.flags, 0u);
        EXPECT_TRUE(tt::allFinite(s));

        ASSERT_TRUE(s.launchTimeS && s.burnoutTimeS && s.landingTimeS);
        EXPECT_NEAR(*s.launchTimeS, p.padTime, 0.5);
        EXPECT_NEAR(*s.burnoutTimeS, p.padTime + p.burnTime, 0.5);
        // The model touches down during the interval before landingSample.
        EXPECT_NEAR(*s.landingTimeS, (flight.landingSample - 0.5) / 10.0, 1.0);

        const double drogue = terminal(p.bodyDrag + kG / (p.drogueRate * p.drogueRate));
        const double main = terminal(p.bodyDrag + kG / (p.drogueRate * p.drogueRate) +
                                     kG / (p.mainRate * p.mainRate));
        // Low flights pass the main's 150 m on the way down at once: no drogue phase.
        const int drogueFrom = std::max(flight.apogeeSample, flight.lineASample);
        if (flight.lineBSample - drogueFrom >= 50) {
            ASSERT_TRUE(s.drogueRateMs);
            EXPECT_NEAR(*s.drogueRateMs, drogue, 0.1 * drogue);
        }
        ASSERT_TRUE(s.mainRateMs);
        EXPECT_NEAR(*s.mainRateMs, main, 0.1 * main);

        // The boost's acceleration is thrust less gravity less a little drag; a short
        // burn leaves few samples to fit, hence the wide margin.
        ASSERT_TRUE(s.maxAcceleration);
        EXPECT_NEAR(s.maxAccelerationMs2, p.thrust - kG, 0.35 * (p.thrust - kG));
        EXPECT_GE(s.maxAcceleration->timeS, *s.launchTimeS - 0.1);
        EXPECT_LE(s.maxAcceleration->timeS, *s.burnoutTimeS + 0.3);

        ASSERT_TRUE(s.apogee && s.lineA && s.lineB);
        EXPECT_NEAR(s.apogee->aglM, flight.apogee, 3.0);
        EXPECT_EQ(s.lineA->at.sample, flight.lineASample);
        EXPECT_EQ(s.lineB->at.sample, flight.lineBSample);
    }
}

TEST(StatisticsSimulated, RecordingThatEndsInTheAir) {
    const auto flight = tt::simulate({}, 21);
    std::vector<std::uint16_t> words(flight.words.begin(),
                                     flight.words.begin() + flight.lineBSample + 60);
    const auto s = analysis::computeStatistics(tt::decodeWords(words));
    EXPECT_TRUE(s.has(analysis::kNoLanding));
    EXPECT_FALSE(s.landingTimeS);
    EXPECT_TRUE(s.launchTimeS);
    // The main phase so far is long enough to measure; the drogue phase is complete.
    EXPECT_TRUE(s.drogueRateMs);
    EXPECT_TRUE(s.mainRateMs);
    EXPECT_TRUE(tt::allFinite(s));
}

TEST(StatisticsSimulated, SlowDescentCutShortIsNoLanding) {
    // A recording that ends under a 3.5 m/s main: the last seconds sit inside the noise
    // band for a while, yet they fall, and the rocket has not landed.
    FlightProfile slow;
    slow.mainRate = 3.5;
    for (std::uint32_t seed = 0; seed < 6; ++seed) {
        const auto flight = tt::simulate(slow, seed);
        for (int cut = flight.lineBSample + 40; cut < flight.landingSample - 5; cut += 37) {
            const std::vector<std::uint16_t> words(flight.words.begin(),
                                                   flight.words.begin() + cut);
            const auto s = analysis::computeStatistics(tt::decodeWords(words));
            EXPECT_FALSE(s.landingTimeS) << "seed " << seed << " cut " << cut;
            EXPECT_TRUE(s.has(analysis::kNoLanding));
        }
    }
}

TEST(StatisticsSimulated, RecordingCutSoonAfterTouchdownLands) {
    // The sample at landingSample is the first one on the ground. Ending there or half a
    // second later is a landing near the model's touchdown, never after the recording;
    // ending 1.5 s before touchdown (9 m up under the main) is not.
    for (std::uint32_t seed = 0; seed < 12; ++seed) {
        const auto flight = tt::simulate({}, seed);
        const auto cut = [&](int samples) {
            const std::vector<std::uint16_t> words(flight.words.begin(),
                                                   flight.words.begin() + samples);
            return analysis::computeStatistics(tt::decodeWords(words));
        };
        for (const int after : {1, 6}) {
            const auto s = cut(flight.landingSample + after);
            SCOPED_TRACE("seed " + std::to_string(seed) + " after " + std::to_string(after));
            EXPECT_EQ(s.flags, 0u);
            ASSERT_TRUE(s.landingTimeS);
            EXPECT_NEAR(*s.landingTimeS, (flight.landingSample - 0.5) / 10.0, 0.5);
            EXPECT_LE(*s.landingTimeS, s.durationS);
            EXPECT_TRUE(s.mainRateMs);
        }
        const auto inAir = cut(flight.landingSample - 14);
        EXPECT_TRUE(inAir.has(analysis::kNoLanding)) << "seed " << seed;
        EXPECT_FALSE(inAir.landingTimeS) << "seed " << seed;
    }
}

TEST(StatisticsSimulated, ShortBoostsKeepTheirAcceleration) {
    // Under a second of thrust leaves few samples: the noise must not pass for thrust.
    // Ten readings a second with a metre of noise cannot pin it closer than this.
    const FlightProfile shortBurn{78.0, 2.0, 57.0, 0.79, 0.0025, 14.0, 5.0};
    for (std::uint32_t seed = 0; seed < 12; ++seed) {
        const auto s = analysis::computeStatistics(
            tt::decodeWords(tt::simulate(shortBurn, seed * 131 + 20).words));
        ASSERT_TRUE(s.maxAcceleration) << seed;
        EXPECT_NEAR(s.maxAccelerationMs2, shortBurn.thrust - kG, 0.45 * (shortBurn.thrust - kG))
            << seed;
    }
}
