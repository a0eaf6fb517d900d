// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "analysis/flight_alignment.h"

namespace tevusb::analysis {
namespace {

FlightStatistics flight(double durationS, std::optional<double> launchS,
                        std::optional<double> apogeeS) {
    FlightStatistics s;
    s.durationS = durationS;
    s.readings = static_cast<std::size_t>(durationS * 10) + 1;
    s.launchTimeS = launchS;
    if (apogeeS) {
        s.apogee = FlightPoint{static_cast<int>(*apogeeS * 10), *apogeeS, 300.0, 0.0};
    }
    return s;
}

// A short flight that launched late in its recording and a long one that launched early.
const std::vector<FlightStatistics> kPair{flight(40.0, 6.0, 14.5), flight(95.5, 1.2, 20.0)};

TEST(FlightAlignment, AtLaunchBothLaunchesSitAtZeroAndTheSpanHoldsBothRecordings) {
    const FlightAlignment a = alignFlights(kPair, AlignAt::Launch);
    ASSERT_EQ(a.flights.size(), 2u);
    EXPECT_TRUE(a.flights[0].anchored && a.flights[1].anchored);
    EXPECT_DOUBLE_EQ(a.flights[0].startS, -6.0);
    EXPECT_DOUBLE_EQ(a.flights[0].endS, 34.0);
    EXPECT_DOUBLE_EQ(a.flights[1].startS, -1.2);
    EXPECT_DOUBLE_EQ(a.flights[1].endS, 94.3);
    // Starts with the earliest start (the short flight's), ends with the long one.
    EXPECT_DOUBLE_EQ(a.startS, -6.0);
    EXPECT_DOUBLE_EQ(a.endS, 94.3);
    // Each flight's launch maps to 0 on the common axis.
    EXPECT_DOUBLE_EQ(*kPair[0].launchTimeS - a.flights[0].anchorS, 0.0);
    EXPECT_DOUBLE_EQ(*kPair[1].launchTimeS - a.flights[1].anchorS, 0.0);
}

TEST(FlightAlignment, AtApogeeTheLongerClimbStartsFurtherLeft) {
    const FlightAlignment a = alignFlights(kPair, AlignAt::Apogee);
    EXPECT_DOUBLE_EQ(a.flights[0].startS, -14.5);
    EXPECT_DOUBLE_EQ(a.flights[1].startS, -20.0);
    EXPECT_DOUBLE_EQ(a.startS, -20.0);
    EXPECT_DOUBLE_EQ(a.endS, 75.5);
}

TEST(FlightAlignment, AFlightWithoutTheMomentStaysAtItsRecordingStartAndIsFlagged) {
    const std::vector<FlightStatistics> flights{flight(30.0, 2.0, 9.0),
                                                flight(12.0, std::nullopt, std::nullopt)};
    for (AlignAt at : {AlignAt::Launch, AlignAt::Apogee}) {
        const FlightAlignment a = alignFlights(flights, at);
        EXPECT_FALSE(a.flights[1].anchored);
        EXPECT_DOUBLE_EQ(a.flights[1].startS, 0.0);
        EXPECT_DOUBLE_EQ(a.flights[1].endS, 12.0);
        EXPECT_DOUBLE_EQ(a.endS, at == AlignAt::Launch ? 28.0 : 21.0);
    }
    EXPECT_TRUE(alignFlights({}, AlignAt::Launch).flights.empty());
}

}  // namespace
}  // namespace tevusb::analysis
