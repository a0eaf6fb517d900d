// SPDX-License-Identifier: MIT
// The statistics as people read them (table) and as programs read them (JSON).
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/statistics_json.h"
#include "analysis/statistics_table.h"
#include "flight_sets.h"

using namespace tevusb;
namespace tt = tevusb::testing;
using namespace tevusb::analysis;

namespace {

std::string valueOf(const std::vector<StatisticsRow>& rows, const std::string& label) {
    for (const auto& r : rows) {
        if (r.label == label) {
            return r.value;
        }
    }
    return "(no row " + label + ")";
}

FlightStatistics sampleStats() {
    FlightStatistics s;
    s.readings = 700;
    s.durationS = 69.9;
    s.groundMslM = 150.0;
    s.groundKnown = true;
    s.apogee = FlightPoint{83, 8.3, 656.0, 0.5};
    s.apogeeMslM = 806.0;
    s.maxVelocity = FlightPoint{30, 3.0, 200.0, 120.0};
    s.maxAcceleration = FlightPoint{26, 2.6, 20.0, 80.0};
    s.maxAccelerationMs2 = 98.0665;
    s.launchTimeS = 2.5;
    s.lineA = LineEvent{FlightPoint{85, 8.5, 654.0, -2.0}, 10};
    s.drogueRateMs = 16.5;
    s.flags = kNoLanding;
    return s;
}

}  // namespace

TEST(StatisticsTable, RowsInBothUnitSystems) {
    const FlightStatistics s = sampleStats();
    const auto metric = statisticsTable(s, UnitSystem::Metric);
    EXPECT_EQ(valueOf(metric, "Apogee"), "656.0 m (2152 ft) at T+5.8 s");
    EXPECT_EQ(valueOf(metric, "Peak velocity"), "120.0 m/s (432.0 km/h) at T+0.5 s");
    EXPECT_EQ(valueOf(metric, "Peak acceleration"), "98.1 m/s\u00b2 (10.0 g) at T+0.1 s");
    EXPECT_EQ(valueOf(metric, "Line A"), "T+6.0 s at 654.0 m (2146 ft), 10 samples");
    EXPECT_EQ(valueOf(metric, "Line B"), "not fired");
    // Moments count from launch and say so; the launch row ties T+ to the recording.
    EXPECT_EQ(valueOf(metric, "Launch"),
              "T+0.0 s, 2.5 s into the recording (T+ counts from launch)");
    EXPECT_EQ(valueOf(metric, "Landing"), kNoValue);
    EXPECT_EQ(valueOf(metric, "Main descent"), kNoValue);
    EXPECT_EQ(valueOf(metric, "Notes"), "no landing: the recording ends in the air");

    const auto imperial = statisticsTable(s, UnitSystem::Imperial);
    EXPECT_EQ(valueOf(imperial, "Apogee"), "2152 ft (656.0 m) at T+5.8 s");
    EXPECT_EQ(valueOf(imperial, "Drogue descent"), "54.1 ft/s");
    EXPECT_EQ(valueOf(imperial, "Peak velocity"), "393.7 ft/s (268.4 mph) at T+0.5 s");

    // Every set gives the same labels in the same order, so columns line up.
    const auto empty = statisticsTable(computeStatistics(data::DataSet{}), UnitSystem::Metric);
    ASSERT_EQ(empty.size(), metric.size());
    for (std::size_t i = 0; i < empty.size(); ++i) {
        EXPECT_EQ(empty[i].label, metric[i].label);
    }
    EXPECT_EQ(valueOf(empty, "Apogee"), kNoValue);
    EXPECT_EQ(valueOf(empty, "Notes"), "no readings");
}

TEST(StatisticsTable, AMomentWithoutALaunchSaysItCountsFromTheRecording) {
    EXPECT_EQ(flightTimeText(15.0, std::nullopt), "15.0 s into the recording");
    EXPECT_EQ(flightTimeText(15.0, 3.0), "T+12.0 s");
    EXPECT_EQ(flightTimeText(2.0, 3.0), "T-1.0 s") << "a line that fired on the pad";
    EXPECT_EQ(flightTimeText(3.02, 3.0), "T+0.0 s");
    FlightStatistics noLaunch = sampleStats();
    noLaunch.launchTimeS.reset();
    EXPECT_EQ(valueOf(statisticsTable(noLaunch, UnitSystem::Metric), "Apogee"),
              "656.0 m (2152 ft) at 8.3 s into the recording");
}

TEST(StatisticsJson, SiValuesAndNulls) {
    const nlohmann::ordered_json j = statisticsJson(sampleStats());
    EXPECT_EQ(j.at("readings"), 700);
    EXPECT_DOUBLE_EQ(j.at("ground_msl_m").get<double>(), 150.0);
    EXPECT_DOUBLE_EQ(j.at("apogee").at("agl_m").get<double>(), 656.0);
    EXPECT_DOUBLE_EQ(j.at("apogee").at("msl_m").get<double>(), 806.0);
    EXPECT_DOUBLE_EQ(j.at("max_velocity").at("ms").get<double>(), 120.0);
    EXPECT_DOUBLE_EQ(j.at("max_acceleration").at("ms2").get<double>(), 98.0665);
    EXPECT_DOUBLE_EQ(j.at("launch_time_s").get<double>(), 2.5);
    EXPECT_TRUE(j.at("burnout_time_s").is_null());
    EXPECT_TRUE(j.at("line_b").is_null());
    EXPECT_EQ(j.at("line_a").at("samples"), 10);
    EXPECT_TRUE(j.at("descent").at("main_ms").is_null());
    EXPECT_EQ(j.at("flags"), nlohmann::ordered_json::array({"no_landing"}));

    const nlohmann::ordered_json e = statisticsJson(computeStatistics(data::DataSet{}));
    for (const char* key : {"ground_msl_m", "apogee", "max_velocity", "max_acceleration",
                            "launch_time_s", "landing_time_s", "line_a"}) {
        EXPECT_TRUE(e.at(key).is_null()) << key;
    }
    EXPECT_EQ(e.at("readings"), 0);
    // What we write, a JSON reader takes back unchanged.
    EXPECT_EQ(nlohmann::ordered_json::parse(j.dump()), j);
}
