// SPDX-License-Identifier: MIT
// Whole bench tests: a downloaded flight replayed into the simulated altimeter under
// different settings, and the report set beside what the device's flight logic did.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "analysis/emulation_recorder.h"
#include "analysis/emulation_report_json.h"
#include "analysis/emulation_report_text.h"
#include "data/reading.h"
#include "device/altimeter_device.h"
#include "device/settings_snapshot.h"
#include "device/sim/flight_simulator.h"
#include "device/sim/pressure_sensor.h"
#include "device/sim/sim_backend.h"
#include "support/log_capture.h"

namespace tevusb::analysis {
namespace {

using settings::LineMode;

class BenchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        device::sim::SimConfig config;
        config.timing = device::sim::SimTiming::instant();
        m_backend = std::make_shared<device::sim::SimBackend>(config);
        m_device = std::make_unique<device::AltimeterDevice>(m_backend);
        ASSERT_EQ(m_device->connect(device::ConnectMode::Application), device::result::kConnected);
        loadShortFlight();
    }

    // A quick flight under fast chutes, recorded with the factory settings, decoded into
    // the current set as a download would: the host paces every sample by 10 ms, so
    // short flights keep the replays short.
    void loadShortFlight() {
        device::sim::FlightProfile profile{150.0, 1.5, 100.0, 1.2, 0.0015, 40.0, 30.0};
        device::sim::PressureSensor sensor(7);
        const auto flight =
            device::sim::simulateFlight(profile, device::sim::FlightRules{}, sensor);
        data::DataSet& set = m_device->store.current;
        set.clear();
        for (const std::uint16_t word : flight.words) {
            set.adcCounts.push_back(data::reading::count(word));
            set.lineFlags.push_back(data::reading::lineFlags(word));
        }
        set.deriveSeries(0);
    }

    device::sim::SimAltimeter& sim() { return m_backend->altimeter(); }

    void setOnDevice(LineMode a, std::uint16_t aValue, LineMode b, std::uint16_t bValue,
                     std::uint16_t inhibit) {
        settings::DeviceSettings s;
        s.lineAMode = static_cast<std::uint8_t>(a);
        s.lineAValue = aValue;
        s.lineBMode = static_cast<std::uint8_t>(b);
        s.lineBValue = bValue;
        s.inhibitTime = inhibit;
        s.build();
        sim().setSettingsImage(s.image);
    }

    // Reads the settings, replays the selected set and builds the report, as the fronts do.
    EmulationReport emulate() {
        const auto settings = device::readSettingsSnapshot(*m_device);
        EXPECT_TRUE(settings.has_value());
        EmulationRecorder recorder;
        const bool ok = m_device->emulateLaunch(&EmulationRecorder::record, &recorder);
        EXPECT_TRUE(ok);
        return buildEmulationReport(m_device->store.current,
                                    settings.value_or(m_device->store.settings),
                                    recorder.finish(ok, false), settings.has_value());
    }

    // Every event sits on the sample whose feed raised it in the device's flight logic.
    void expectPlacedWhereRaised(const EmulationReport& r) {
        const auto raised = sim().emulationEvents();
        ASSERT_EQ(r.events.size(), raised.size());
        for (std::size_t i = 0; i < raised.size(); ++i) {
            EXPECT_EQ(r.events[i].code, static_cast<int>(raised[i].code)) << i;
            ASSERT_TRUE(r.events[i].at) << i;
            EXPECT_EQ(r.events[i].at->sample, raised[i].sample) << i;
            EXPECT_DOUBLE_EQ(r.events[i].at->timeS, raised[i].sample / 10.0);
            EXPECT_DOUBLE_EQ(
                r.events[i].at->aglM,
                m_device->store.current.altitudeAgl[static_cast<std::size_t>(raised[i].sample)]);
        }
    }

    testing::LogCapture m_quiet;
    std::shared_ptr<device::sim::SimBackend> m_backend;
    std::unique_ptr<device::AltimeterDevice> m_device;
};

TEST_F(BenchTest, FlightsOwnSettingsReproduceItsRecordedLinesAtApogeeAndAltitude) {
    // The factory settings the simulated flights were recorded with.
    setOnDevice(LineMode::Apogee, 0, LineMode::Altitude, 150, 20);
    const EmulationReport r = emulate();
    expectPlacedWhereRaised(r);
    EXPECT_EQ(r.end, EmulationEnd::EndOfLaunch);
    EXPECT_TRUE(r.settingsFromDevice);

    ASSERT_TRUE(r.lineA.fired && r.lineA.recorded && r.apogee && r.apogee->at);
    EXPECT_EQ(r.lineA.fired->sample, r.lineA.recorded->at.sample);
    // An apogee line fires on the sample the apogee is seen; both lag the data's top.
    EXPECT_EQ(r.lineA.fired->sample, r.apogee->at->sample);
    ASSERT_TRUE(r.apogeeDelayS && r.lineA.offset);
    EXPECT_GT(*r.apogeeDelayS, 0.0);
    EXPECT_DOUBLE_EQ(*r.lineA.offset, *r.apogeeDelayS);

    ASSERT_TRUE(r.lineB.fired && r.lineB.recorded && r.lineB.offset);
    EXPECT_EQ(r.lineB.fired->sample, r.lineB.recorded->at.sample);
    EXPECT_GT(r.lineB.fired->timeS, r.statistics.apogee->timeS) << "on the way down";
    EXPECT_NEAR(r.lineB.fired->aglM, 150.0, 15.0);
    const std::string text = formatEmulationReport(r, UnitSystem::Metric);
    EXPECT_NE(text.find("Line B: Altitude 150 m: " + lineVerdictText(r.lineB, UnitSystem::Metric)),
              std::string::npos)
        << text;
}

TEST_F(BenchTest, TimeLinesCountFromTheDetectedLaunchAndWaitOutTheInhibitTime) {
    setOnDevice(LineMode::Time, 50, LineMode::Time, 30, 80);
    const EmulationReport r = emulate();
    expectPlacedWhereRaised(r);
    ASSERT_TRUE(r.launch && r.launch->at && r.lineA.fired && r.lineB.fired);
    EXPECT_EQ(r.lineA.verdict, LineVerdict::FiredAway);
    // 5 s was asked for but the 8 s inhibit held it: 3 s late.
    EXPECT_NEAR(*r.lineA.offset, 3.0, 1e-9);
    EXPECT_EQ(lineVerdictText(r.lineA, UnitSystem::Metric), "fired 3.0 s after its 5 s setting");
    EXPECT_NEAR(*r.lineB.offset, 5.0, 1e-9);
    EXPECT_FALSE(r.lineA.insideInhibit);

    setOnDevice(LineMode::Time, 50, LineMode::Time, 25, 20);
    const EmulationReport fine = emulate();
    expectPlacedWhereRaised(fine);
    EXPECT_EQ(fine.lineA.verdict, LineVerdict::FiredAsSet);
    EXPECT_EQ(fine.lineB.verdict, LineVerdict::FiredAsSet);
    EXPECT_NEAR(fine.lineA.fired->timeS - fine.launch->at->timeS, 5.0, 1e-9);
    EXPECT_EQ(lineSettingText(fine.lineB, UnitSystem::Metric), "Time 2.5 s");
}

TEST_F(BenchTest, AnAltitudeLineIsMeasuredAgainstItsSettingInTheChosenUnits) {
    setOnDevice(LineMode::Altitude, 300, LineMode::Disabled, 0, 20);
    const EmulationReport r = emulate();
    expectPlacedWhereRaised(r);
    ASSERT_TRUE(r.lineA.fired && r.lineA.offset);
    EXPECT_NEAR(*r.lineA.offset, r.lineA.fired->aglM - 300.0, 1e-9);
    EXPECT_GT(r.lineA.fired->timeS, r.statistics.apogee->timeS);
    const bool within = std::abs(*r.lineA.offset) <= altitudeTolerance(r.lineA.fired->velocityMs);
    EXPECT_EQ(r.lineA.verdict, within ? LineVerdict::FiredAsSet : LineVerdict::FiredAway);
    EXPECT_EQ(r.lineB.verdict, LineVerdict::NotSetToFire);
    EXPECT_FALSE(r.lineB.fired);
    EXPECT_EQ(lineVerdictText(r.lineB, UnitSystem::Metric), "not set to fire");
    EXPECT_EQ(lineSettingText(r.lineA, UnitSystem::Imperial), "Altitude 984 ft (300 m)");
}

TEST_F(BenchTest, AnInhibitLongerThanTheFlightKeepsBothLinesQuiet) {
    setOnDevice(LineMode::Apogee, 0, LineMode::Altitude, 150, 3000);
    const EmulationReport r = emulate();
    expectPlacedWhereRaised(r);
    EXPECT_EQ(r.lineA.verdict, LineVerdict::DidNotFire);
    EXPECT_EQ(r.lineB.verdict, LineVerdict::DidNotFire);
    EXPECT_FALSE(r.lineA.fired || r.lineB.fired);
    EXPECT_TRUE(r.apogee.has_value()) << "apogee is still detected";
    // The recording was made with the flight's own settings: its lines did fire.
    EXPECT_TRUE(r.lineA.recorded.has_value());
    const std::string text = formatEmulationReport(r, UnitSystem::Metric);
    EXPECT_NE(text.find("Line A: Apogee: did not fire"), std::string::npos) << text;
    EXPECT_NE(text.find("Settings: as read from the altimeter; inhibit 300 s"), std::string::npos);
}

TEST_F(BenchTest, TheJsonFormParsesBackToTheReport) {
    setOnDevice(LineMode::Apogee, 0, LineMode::Time, 40, 20);
    const EmulationReport r = emulate();
    const auto j = nlohmann::json::parse(emulationReportJson(r));
    ASSERT_EQ(j["events"].size(), r.events.size());
    for (std::size_t i = 0; i < r.events.size(); ++i) {
        const auto& e = j["events"][i];
        EXPECT_EQ(e["code"].get<int>(), r.events[i].code);
        EXPECT_EQ(e["name"].get<std::string>(), emulationCodeName(r.events[i].code));
        EXPECT_EQ(e["sample"].get<int>(), r.events[i].at->sample);
        EXPECT_NEAR(e["time_s"].get<double>(), r.events[i].at->timeS, 1e-9);
        EXPECT_NEAR(e["agl_m"].get<double>(), r.events[i].at->aglM, 0.005);
    }
    EXPECT_EQ(j["lines"]["a"]["mode"], "apogee");
    EXPECT_TRUE(j["lines"]["a"]["value"].is_null());
    EXPECT_EQ(j["lines"]["b"]["mode"], "time");
    EXPECT_DOUBLE_EQ(j["lines"]["b"]["value"].get<double>(), 4.0);
    EXPECT_EQ(j["lines"]["b"]["finding"], "fired_as_set");
    EXPECT_EQ(j["lines"]["b"]["verdict"], "pass");
    EXPECT_NEAR(j["lines"]["b"]["time_s"].get<double>(), r.lineB.fired->timeS, 1e-9);
    EXPECT_NEAR(j["apogee_delay_s"].get<double>(), *r.apogeeDelayS, 0.005);
    EXPECT_EQ(j["end"], "end_of_launch");
    EXPECT_EQ(j["settings_source"], "device");
}

}  // namespace
}  // namespace tevusb::analysis
