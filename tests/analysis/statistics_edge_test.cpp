// SPDX-License-Identifier: MIT
// Sets that are not a clean flight: empty, tiny, flat, corrupt, huge.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "analysis/flight_statistics.h"
#include "data/altitude_converter.h"
#include "flight_sets.h"

using namespace tevusb;
namespace tt = tevusb::testing;
using analysis::computeStatistics;
using analysis::FlightStatistics;
using tt::allFinite;
using tt::decodeWords;

namespace {

std::vector<std::uint16_t> wordsAt(const std::vector<double>& metres) {
    const data::AltitudeConverter conv(0);
    std::vector<std::uint16_t> words;
    for (double m : metres) {
        words.push_back(static_cast<std::uint16_t>(conv.countForAltitude(200.0 + m)));
    }
    return words;
}

bool nothingDetected(const FlightStatistics& s) {
    return !s.launchTimeS && !s.burnoutTimeS && !s.landingTimeS && !s.maxAcceleration &&
           !s.drogueRateMs && !s.mainRateMs;
}

}  // namespace

TEST(StatisticsEdges, EmptyAndTinySets) {
    const FlightStatistics empty = computeStatistics(data::DataSet{});
    EXPECT_TRUE(empty.has(analysis::kNoReadings));
    EXPECT_TRUE(empty.has(analysis::kNoLaunch));
    EXPECT_EQ(empty.readings, 0u);
    EXPECT_EQ(empty.durationS, 0.0);
    EXPECT_FALSE(empty.apogee || empty.maxVelocity || empty.lineA || empty.lineB);
    EXPECT_TRUE(nothingDetected(empty));

    const FlightStatistics one = computeStatistics(decodeWords({0x8000 | 12000}));
    EXPECT_EQ(one.readings, 1u);
    EXPECT_EQ(one.durationS, 0.0);
    EXPECT_TRUE(one.has(analysis::kTooShort));
    EXPECT_FALSE(one.has(analysis::kNoReadings));
    ASSERT_TRUE(one.apogee && one.lineA);
    EXPECT_EQ(one.apogee->aglM, 0.0);
    EXPECT_GT(one.groundMslM, 0.0);
    EXPECT_TRUE(one.groundKnown);
    EXPECT_TRUE(nothingDetected(one));
    EXPECT_TRUE(allFinite(one));

    // Series of different lengths (a set put together by hand) are read to the shortest.
    data::DataSet ragged = tt::handSet(std::vector<double>(50, 0.0));
    ragged.velocity.resize(10);
    ragged.lineFlags.resize(3, 3);
    const FlightStatistics r = computeStatistics(ragged);
    EXPECT_EQ(r.readings, 10u);
    EXPECT_TRUE(allFinite(r));
}

TEST(StatisticsEdges, GroundOnlyRecordingsFindNoFlight) {
    // Sitting on the pad with sensor noise: flat, nothing launched, nothing landed.
    device::sim::PressureSensor sensor(7);
    std::vector<std::uint16_t> pad;
    for (int i = 0; i < 600; ++i) {
        pad.push_back(sensor.sample(300.0));
    }
    FlightStatistics s = computeStatistics(decodeWords(pad));
    EXPECT_TRUE(s.has(analysis::kFlatData));
    EXPECT_TRUE(s.has(analysis::kNoLaunch));
    EXPECT_FALSE(s.has(analysis::kNoLanding));
    EXPECT_TRUE(nothingDetected(s));
    EXPECT_TRUE(s.apogee);

    // Carried up a hill by 6 m: off the ground but never a launch.
    std::vector<double> walk;
    for (int i = 0; i < 600; ++i) {
        walk.push_back(std::min(6.0, i * 0.02));
    }
    s = computeStatistics(decodeWords(wordsAt(walk)));
    EXPECT_FALSE(s.has(analysis::kFlatData));
    EXPECT_TRUE(s.has(analysis::kNoLaunch));
    EXPECT_TRUE(nothingDetected(s));

    // Driven 40 m up a road in a minute: far too slow to be a motor.
    std::vector<double> drive;
    for (int i = 0; i < 600; ++i) {
        drive.push_back(std::min(40.0, i * 0.1));
    }
    s = computeStatistics(decodeWords(wordsAt(drive)));
    EXPECT_TRUE(s.has(analysis::kNoLaunch));
    EXPECT_TRUE(nothingDetected(s));

    // A one-sample glitch high above the pad is no sustained climb.
    std::vector<double> glitch(300, 0.0);
    glitch[100] = 400.0;
    s = computeStatistics(decodeWords(wordsAt(glitch)));
    EXPECT_TRUE(s.has(analysis::kNoLaunch));
    ASSERT_TRUE(s.apogee);
    EXPECT_EQ(s.apogee->sample, 100);
}

TEST(StatisticsEdges, LinesNeverFiredOrFiredTogether) {
    const auto flight = tt::simulate({}, 3);
    std::vector<std::uint16_t> words = flight.words;
    for (auto& w : words) {
        w &= 0x3FFF;
    }
    FlightStatistics s = computeStatistics(decodeWords(words));
    EXPECT_FALSE(s.lineA || s.lineB);
    EXPECT_TRUE(s.drogueRateMs);  // the whole descent is the drogue's phase
    EXPECT_FALSE(s.mainRateMs);

    // Both bits on the same samples: each line counts them, both fired there.
    for (std::size_t i = 200; i < 205; ++i) {
        words[i] |= 0xC000;
    }
    words[300] |= 0x4000;
    s = computeStatistics(decodeWords(words));
    ASSERT_TRUE(s.lineA && s.lineB);
    EXPECT_EQ(s.lineA->at.sample, 200);
    EXPECT_EQ(s.lineB->at.sample, 200);
    EXPECT_EQ(s.lineA->samples, 5);
    EXPECT_EQ(s.lineB->samples, 6);
    EXPECT_DOUBLE_EQ(s.lineA->at.aglM, s.lineB->at.aglM);
}

TEST(StatisticsEdges, NotANumberAltitudesNeverReachTheResult) {
    const auto flight = tt::simulate({}, 11);
    // An offset this low makes the high part of the flight convert to NaN (a pressure
    // below zero), the ground stays a number.
    const int ground = flight.words[0] & 0x3FFF;
    const data::DataSet partial = decodeWords(flight.words, -ground - 1500);
    ASSERT_TRUE(std::isfinite(partial.altitudeAgl[0]));
    bool anyNan = false;
    for (double v : partial.altitudeAgl) {
        anyNan = anyNan || std::isnan(v);
    }
    ASSERT_TRUE(anyNan);
    const FlightStatistics p = computeStatistics(partial);
    EXPECT_TRUE(allFinite(p));

    // Every altitude NaN: the graph's label would sit on the first sample with no value.
    const data::DataSet none = decodeWords(flight.words, -20000);
    ASSERT_TRUE(std::isnan(none.altitudeAgl[0]));
    const FlightStatistics n = computeStatistics(none);
    EXPECT_TRUE(allFinite(n));
    EXPECT_FALSE(n.apogee);
    EXPECT_FALSE(n.groundKnown);
    EXPECT_TRUE(n.has(analysis::kNoLaunch));
    EXPECT_EQ(n.readings, flight.words.size());
}

TEST(StatisticsEdges, ExtremeValuesInAHandMadeSet) {
    // Sets built by other code may hold what no sensor gives: values near the end of the
    // double range inside a clean boost overflow the fits there.
    std::vector<double> agl(400, 0.0);
    for (std::size_t i = 20; i < 400; ++i) {
        const double t = (static_cast<double>(i) - 20.0) / 10.0;
        agl[i] = std::max(0.0, 25.0 * t * t - 4.0 * t * t * t);
    }
    agl[30] = agl[31] = agl[32] = 1.7e308;
    agl[300] = INFINITY;
    FlightStatistics s = computeStatistics(tt::handSet(agl));
    EXPECT_TRUE(allFinite(s));
    EXPECT_TRUE(s.launchTimeS);

    for (std::size_t i = 50; i < 150; ++i) {
        agl[i] = (i % 2 == 0 ? 1e308 : -1e308);
    }
    s = computeStatistics(tt::handSet(agl));
    EXPECT_TRUE(allFinite(s));
    EXPECT_EQ(s.readings, 400u);
}

TEST(StatisticsEdges, HoveringAboveTheGroundForMillionsOfReadings) {
    // Short hops past the launch height from a level that never returns to the ground:
    // each is looked at briefly (a walk back to the start for each would never end).
    std::vector<double> agl(2'000'000, 5.0);
    for (std::size_t i = 0; i < 10; ++i) {
        agl[i] = 0.0;
    }
    for (std::size_t i = 100; i + 5 < agl.size(); i += 45) {
        for (std::size_t k = 0; k < 5; ++k) {
            agl[i + k] = 12.0;
        }
    }
    const FlightStatistics s = computeStatistics(tt::handSet(agl));
    EXPECT_TRUE(s.has(analysis::kNoLaunch));
    EXPECT_TRUE(allFinite(s));
}

TEST(StatisticsEdges, LargestFileTheFormatAllows) {
    // 65535 packets of repeated simulated flights: two million readings.
    const auto flight = tt::simulate({}, 5);
    std::vector<std::uint16_t> words;
    words.reserve(65535u * 31u);
    while (words.size() < 65535u * 31u) {
        words.push_back(flight.words[words.size() % flight.words.size()]);
    }
    const FlightStatistics s = computeStatistics(decodeWords(words));
    EXPECT_EQ(s.readings, 2031585u);
    EXPECT_TRUE(allFinite(s));
    ASSERT_TRUE(s.launchTimeS && s.apogee);
    // The first flight's launch and apogee are the ones reported.
    EXPECT_NEAR(*s.launchTimeS, 2.5, 0.5);
    EXPECT_LT(s.apogee->sample, static_cast<int>(flight.words.size()));
}
