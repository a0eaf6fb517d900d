// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>

#include "data/altitude_converter.h"
#include "data/data_set.h"
#include "data/reading.h"
#include "support/log_capture.h"

using tevusb::data::AltitudeConverter;
using tevusb::data::DataSet;

TEST(AltitudeConverter, KnownCounts) {
    const AltitudeConverter c(0);
    EXPECT_DOUBLE_EQ(c.voltage(12000), 3.662109375);
    EXPECT_NEAR(c.pressure(12000), 91.93576, 1e-5);
    EXPECT_NEAR(c.altitude(12000), 812.648, 1e-3);
    EXPECT_NEAR(c.altitude(13384), 0.282, 1e-3);
    EXPECT_DOUBLE_EQ(c.voltage(0), 0.0);
    EXPECT_NEAR(c.pressure(0), 10.5556, 1e-4);
}

TEST(AltitudeConverter, OffsetShiftsTheCount) {
    EXPECT_DOUBLE_EQ(AltitudeConverter(-5).voltage(12005), AltitudeConverter(0).voltage(12000));
}

TEST(AltitudeConverter, CountForAltitudeTruncatesWithoutOffset) {
    EXPECT_EQ(AltitudeConverter(0).countForAltitude(0.0), 13384);
    EXPECT_EQ(AltitudeConverter(0).countForAltitude(1000.0), 11696);
    EXPECT_EQ(AltitudeConverter(300).countForAltitude(1000.0), 11696);
    // Inverse of altitude(), up to the truncation of one count.
    const AltitudeConverter c(0);
    for (double alt : {-100.0, 250.0, 1500.0, 3000.0}) {
        const int count = c.countForAltitude(alt);
        EXPECT_LE(c.altitude(count + 1), alt + 1e-9);
        EXPECT_GE(c.altitude(count), alt - 1.0);
    }
}

TEST(AltitudeConverter, AbsurdInputsNeverFault) {
    // A corrupt offset can push the pressure below zero; the result is NaN, not a crash,
    // and the integer conversion stays defined.
    const AltitudeConverter c(-30000);
    EXPECT_TRUE(std::isnan(c.altitude(0)));
    EXPECT_EQ(c.countForAltitude(1e9), 0);
    EXPECT_EQ(tevusb::data::truncateToInt(1e300), 2147483647);
    EXPECT_EQ(tevusb::data::truncateToInt(-1e300), -2147483647 - 1);
    EXPECT_EQ(tevusb::data::truncateToInt(-2.9), -2);
}

namespace {

DataSet setOf(std::vector<int> counts, int offset = 0) {
    DataSet s;
    s.adcCounts = std::move(counts);
    s.lineFlags.assign(s.adcCounts.size(), 0);
    s.deriveSeries(offset);
    return s;
}

}  // namespace

TEST(SeriesDerivation, MatchesAnIndependentComputation) {
    // Expected values computed separately (double precision, same formulas).
    const DataSet s = setOf({13384, 13000, 12500, 12000}, -5);
    ASSERT_EQ(s.size(), 4u);
    EXPECT_NEAR(s.voltage[1], 3.96576, 1e-5);
    EXPECT_NEAR(s.pressure[2], 95.2927, 1e-4);
    EXPECT_NEAR(s.altitudeMsl[3], 815.702, 1e-3);
    EXPECT_NEAR(s.altitudeAgl[3], 812.597, 1e-3);
    EXPECT_NEAR(s.velocityKmh[0], 1950.23, 1e-2);
    EXPECT_NEAR(s.velocityKmh[3], 5757.09, 1e-2);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(s.velocityKmh[i], s.smoothedVelocity[i] * 3.6);
    }
}

TEST(SeriesDerivation, FirstSampleIsGround) {
    const DataSet s = setOf({12000, 11000, 10000});
    EXPECT_EQ(s.altitudeAgl[0], 0.0);
    EXPECT_EQ(s.smoothedAltitude[0], 0.0);
}

TEST(SeriesDerivation, VelocityWindowIsOneSidedAtTheEnds) {
    std::vector<int> counts(40, 13384);
    for (int i = 0; i < 40; ++i) {
        counts[static_cast<std::size_t>(i)] = 13384 - 20 * i;
    }
    const DataSet s = setOf(counts);
    const auto& sa = s.smoothedAltitude;
    EXPECT_DOUBLE_EQ(s.velocity[0], (sa[5] - sa[0]) / 0.5);
    EXPECT_DOUBLE_EQ(s.velocity[39], (sa[39] - sa[34]) / 0.5);
    EXPECT_DOUBLE_EQ(s.velocity[20], (sa[25] - sa[15]) / 1.0);
    EXPECT_DOUBLE_EQ(s.velocity[2], (sa[7] - sa[0]) / 0.7);
}

TEST(SeriesDerivation, VelocityWeightIsCappedAltitudeWeightIsNot) {
    // A flat series: every window weight is 1, and the altitude keeps its first value.
    const DataSet s = setOf(std::vector<int>(20, 13000));
    for (double v : s.smoothedAltitude) {
        EXPECT_EQ(v, 0.0);
    }
    std::vector<int> ramp(100);
    for (int i = 0; i < 100; ++i) {
        ramp[static_cast<std::size_t>(i)] = 13384 - i;
    }
    const DataSet r = setOf(ramp);
    // On a steady ramp the first velocity window's weight would be about 0.97; capped
    // at 0.8 the first output is exactly a fifth of the input (blended with prev = 0).
    ASSERT_GT(r.velocity[0], 1.0);
    EXPECT_NEAR(r.smoothedVelocity[0], 0.2 * r.velocity[0], 1e-12);
}

TEST(SeriesDerivation, TinySetsStayFinite) {
    const DataSet empty = setOf({});
    EXPECT_EQ(empty.velocity.size(), 0u);

    tevusb::testing::LogCapture log;
    const DataSet one = setOf({12000});
    ASSERT_EQ(one.size(), 1u);
    for (const auto* series :
         {&one.smoothedAltitude, &one.velocity, &one.smoothedVelocity, &one.velocityKmh}) {
        ASSERT_EQ(series->size(), 1u);
        EXPECT_EQ((*series)[0], 0.0);
    }
    EXPECT_EQ(log.text(), "1 \n");

    const DataSet two = setOf({12000, 11990});
    for (double v : two.velocity) {
        EXPECT_TRUE(std::isfinite(v));
    }
}

TEST(SeriesDerivation, LogsOneWeightPerSampleOnOneLine) {
    tevusb::testing::LogCapture log;
    setOf({13384, 13000, 12500, 12000}, -5);
    EXPECT_EQ(log.text(), "8.19494e-19 2.17466e-13 1.25495e-20 5.58889e-43 \n");
}
