// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "analysis/comparison_table.h"

namespace tevusb::analysis {
namespace {

FlightStatistics flight(double apogeeM, double apogeeS, double launchS) {
    FlightStatistics s;
    s.durationS = 60.0;
    s.launchTimeS = launchS;
    s.apogee = FlightPoint{static_cast<int>(apogeeS * 10), apogeeS, apogeeM, 0.0};
    s.drogueRateMs = 17.0;
    return s;
}

const ComparisonRow& find(const std::vector<ComparisonRow>& rows, const std::string& label) {
    for (const auto& r : rows) {
        if (r.label == label) {
            return r;
        }
    }
    ADD_FAILURE() << "no row " << label;
    return rows.front();
}

TEST(ComparisonTable, OneColumnPerFlightWithDifferencesToTheFirst) {
    FlightStatistics third = flight(300.0, 8.0, 2.0);
    third.apogee.reset();
    third.drogueRateMs.reset();
    const auto rows = comparisonRows({flight(500.0, 12.5, 2.5), flight(612.4, 14.0, 1.0), third},
                                     UnitSystem::Metric);
    const ComparisonRow& apogee = find(rows, "Apogee");
    ASSERT_EQ(apogee.values.size(), 3u);
    ASSERT_EQ(apogee.differences.size(), 3u);
    EXPECT_EQ(apogee.values[0], "500.0 m");
    EXPECT_EQ(apogee.values[1], "612.4 m");
    EXPECT_EQ(apogee.values[2], "\u2014");
    EXPECT_EQ(apogee.differences[0], "");
    EXPECT_EQ(apogee.differences[1], "+112.4 m");
    EXPECT_EQ(apogee.differences[2], "") << "nothing to compare";
    // Counted from each flight's own launch: 10.0 s and 13.0 s.
    const ComparisonRow& climb = find(rows, "Time to apogee");
    EXPECT_EQ(climb.values[0], "10.0 s");
    EXPECT_EQ(climb.differences[1], "+3.0 s");
    const ComparisonRow& drogue = find(rows, "Drogue descent");
    EXPECT_EQ(drogue.differences[1], "\u00b10.0 m/s");
}

TEST(ComparisonTable, MomentsReadFromLaunchAndAmountsStayPlain) {
    FlightStatistics early = flight(500.0, 12.5, 2.5);
    early.burnoutTimeS = 4.0;
    FlightStatistics late = flight(500.0, 14.0, 1.0);
    late.burnoutTimeS = 3.0;
    const auto rows = comparisonRows({early, late}, UnitSystem::Metric);
    const ComparisonRow& burnout = find(rows, "Burnout");
    EXPECT_EQ(burnout.values[0], "T+1.5 s");
    EXPECT_EQ(burnout.values[1], "T+2.0 s");
    EXPECT_EQ(burnout.differences[1], "+0.5 s");
    EXPECT_EQ(find(rows, "Recording").values[0], "60.0 s") << "a duration has no origin";
}

TEST(ComparisonTable, DifferencesAreConvertedAsDifferencesInImperial) {
    const auto rows =
        comparisonRows({flight(100.0, 10.0, 1.0), flight(90.0, 9.0, 1.0)}, UnitSystem::Imperial);
    const ComparisonRow& apogee = find(rows, "Apogee");
    // Whole feet: the sensor's precision, not the conversion's.
    EXPECT_EQ(apogee.values[0], "328 ft");
    EXPECT_EQ(apogee.differences[1], "-33 ft");
    EXPECT_TRUE(comparisonRows({}, UnitSystem::Metric).front().values.empty());
}

}  // namespace
}  // namespace tevusb::analysis
