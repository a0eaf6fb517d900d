// SPDX-License-Identifier: MIT
// The simulator's CSV export in the forms its dialog writes, and RASAero II's CSV.
#include <gtest/gtest.h>

#include <cmath>

#include "simulation/number_text.h"
#include "simulation/simulation_facts.h"
#include "simulation/simulation_file.h"
#include "support/sim_files.h"

using namespace tevusb;
namespace tt = tevusb::testing;

namespace {

simulation::ImportResult<std::vector<simulation::Simulation>> read(const std::string& text) {
    return simulation::readSimulations(text, "club.csv", "club");
}

simulation::Simulation readOne(const std::string& text) {
    auto result = read(text);
    if (auto* error = std::get_if<simulation::ImportError>(&result)) {
        ADD_FAILURE() << error->message;
        return {};
    }
    auto& sims = std::get<0>(result);
    EXPECT_EQ(sims.size(), 1u);
    return sims.front();
}

std::string refusal(const std::string& text) {
    auto result = read(text);
    auto* error = std::get_if<simulation::ImportError>(&result);
    return error ? error->message : "(accepted)";
}

// The reference flight came through in SI, within what the export's decimals kept:
// `relative` for values in exponent form, `lengthM` and `timeS` for fixed ones.
void expectReference(const simulation::Simulation& sim, double relative, double lengthM = 0.0,
                     double timeS = 1e-9) {
    const auto& f = tt::referenceFlight();
    ASSERT_EQ(sim.points(), f.t.size());
    auto near = [&](double got, double want, double absolute) {
        return std::fabs(got - want) <= relative * std::fabs(want) + absolute + 1e-12;
    };
    for (std::size_t i : {std::size_t{0}, std::size_t{17}, std::size_t{200}, f.t.size() - 1}) {
        EXPECT_NEAR(sim.timeS[i], f.t[i], timeS);
        EXPECT_TRUE(near(sim.altitudeM[i], f.h[i], lengthM)) << i << ": " << sim.altitudeM[i];
        EXPECT_TRUE(near(sim.verticalVelocityMs[i], f.v[i], relative))
            << i << ": " << sim.verticalVelocityMs[i];
        ASSERT_EQ(sim.massKg.size(), sim.points());
        EXPECT_TRUE(near(sim.massKg[i], f.massKg[i], relative)) << i << ": " << sim.massKg[i];
    }
    const auto facts = simulation::simulationFacts(sim);
    EXPECT_TRUE(near(*facts.apogeeM, f.apogeeM, lengthM));
    EXPECT_TRUE(near(*facts.coastMassKg, 1.2, relative));
    EXPECT_TRUE(near(*facts.referenceAreaM2, f.areaM2, relative));
}

TEST(OpenRocketCsv, EveryStarterAndSeparatorTheDialogOffers) {
    const std::pair<const char*, const char*> forms[] = {
        {"#", ","}, {"%", ";"}, {";", " "}, {"//", "\t"}, {"Data:", " | "}, {"#", ", "}};
    for (const auto& [starter, separator] : forms) {
        SCOPED_TRACE(std::string("starter ") + starter + " separator '" + separator + "'");
        tt::CsvOptions o;
        o.starter = starter;
        o.separator = separator;
        const auto sim = readOne(tt::openRocketCsv(o));
        EXPECT_EQ(sim.name, "Club flight H128");
        expectReference(sim, 1e-3, 5e-4);
        ASSERT_EQ(sim.events.size(), 6u);
        EXPECT_EQ(sim.events[0].type, "launch");
        EXPECT_EQ(sim.events[2].type, "burnout");
        EXPECT_EQ(sim.events[4].type, "recoverydevicedeployment");
        EXPECT_EQ(sim.events[5].type, "groundhit");
        EXPECT_NEAR(sim.events[3].timeS, tt::referenceFlight().apogeeS, 1e-3);
    }
}

TEST(OpenRocketCsv, UnitsAndLanguagesComeBackInSi) {
    struct Case {
        const char* language;
        const char* length;
        const char* velocity;
        const char* mass;
        const char* area;
    };
    const Case cases[] = {{"de", "ft", "ft/s", "oz", "in\u00b2"},
                          {"fr", "km", "km/h", "lb", "cm\u00b2"},
                          {"en", "m", "mph", "kg", "in\u00b2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        tt::CsvOptions o;
        o.language = c.language;
        o.lengthUnit = c.length;
        o.velocityUnit = c.velocity;
        o.massUnit = c.mass;
        o.areaUnit = c.area;
        o.decimals = 6;
        expectReference(readOne(tt::openRocketCsv(o)), 1e-5, 1e-3);
    }
}

TEST(OpenRocketCsv, DecimalsExponentsAndLineEnds) {
    struct Case {
        int decimals;
        const char* length;
        double unitM;
        const char* exponent;  // a number the export writes in exponent form
    };
    const Case cases[] = {{1, "m", 1.0, nullptr},
                          {2, "mm", 0.001, "e5"},       // 480 m is 4.8e5 mm
                          {5, "mi", 1609.344, "e-5"}};  // 7.5 cm is 4.66e-5 mi
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        tt::CsvOptions o;
        o.decimals = c.decimals;
        o.lengthUnit = c.length;
        o.crlf = c.decimals == 2;
        const std::string text = tt::openRocketCsv(o);
        if (c.exponent != nullptr) {
            EXPECT_NE(text.find(c.exponent), std::string::npos);
        }
        const double step = 0.5 * std::pow(10.0, -c.decimals);
        expectReference(readOne(text), 2.0 * step, step * c.unitM, step);
    }
    EXPECT_EQ(simulation::parseNumber("1.235e4"), 12350.0);
    EXPECT_EQ(simulation::parseNumber("1.5e-4"), 1.5e-4);
    EXPECT_TRUE(std::isnan(*simulation::parseNumber("NaN")));
    EXPECT_EQ(simulation::parseNumber("-Inf"), -INFINITY);
    EXPECT_EQ(simulation::parseNumber("Inf"), INFINITY);
    EXPECT_FALSE(simulation::parseNumber("1,5"));
    EXPECT_FALSE(simulation::parseNumber("--1"));
}

TEST(OpenRocketCsv, StatusIsNotPartOfTheNameAndCommentsMayBeOff) {
    for (const char* status : {"Up to date", "Data loaded from a file", "Out of date",
                               "Imported data", "Not simulated yet"}) {
        tt::CsvOptions o;
        o.status = status;
        o.name = "Sim (H128)";
        EXPECT_EQ(readOne(tt::openRocketCsv(o)).name, "Sim (H128)");
    }
    tt::CsvOptions noSimulationComment;
    noSimulationComment.simulationComment = false;
    const auto sim = readOne(tt::openRocketCsv(noSimulationComment));
    EXPECT_EQ(sim.name, "club");
    expectReference(sim, 1e-3, 5e-4);

    tt::CsvOptions noEvents;
    noEvents.eventComments = false;
    noEvents.simulationComment = false;
    noEvents.starter = "Data:";
    EXPECT_TRUE(readOne(tt::openRocketCsv(noEvents)).events.empty());

    tt::CsvOptions noFields;
    noFields.fieldComment = false;
    EXPECT_NE(refusal(tt::openRocketCsv(noFields)).find("club.csv: the columns have no names"),
              std::string::npos);
    noFields.simulationComment = false;
    noFields.eventComments = false;
    EXPECT_NE(refusal(tt::openRocketCsv(noFields)).find("no names"), std::string::npos);
}

TEST(OpenRocketCsv, RefusalsNameTheFileLineAndColumn) {
    const std::string head =
        "# Sim (Up to date)\n# Time (s),Altitude (m),Vertical velocity (m/s)\n";
    EXPECT_EQ(refusal(""), "club.csv: the file is empty");
    EXPECT_EQ(refusal(head + "0,0,0\n1,x,2\n"),
              "club.csv, line 4, column 2: \"x\" is not a number");
    EXPECT_EQ(refusal(head + "0,0,0\n1,2\n"),
              "club.csv, line 4: 2 fields where the header names 3");
    EXPECT_EQ(refusal("# Time (s),Vertical velocity (m/s)\n0,1\n1,2\n"),
              "club.csv: no altitude column");
    EXPECT_EQ(refusal("# Time (s),Altitude (furlong)\n0,1\n"),
              "club.csv: column \"Altitude (furlong)\": unit \"furlong\" is not one we know");
    EXPECT_EQ(refusal(head + "NaN,NaN,0\n1,NaN,2\nNaN,3,1\n"),
              "club.csv: no row has a number for both time and altitude");
    EXPECT_EQ(refusal(head), "club.csv: no data rows");
    EXPECT_EQ(refusal(head + "0,0,0\n" + std::string(70000, '1') + "\n"),
              "club.csv: line 4 is longer than 65536 bytes");
    EXPECT_EQ(refusal(std::string("PNG\0\x01\x02 data", 12)),
              "club.csv: not a simulation file (it holds binary data)");
    EXPECT_EQ(refusal(head + "0,0,0\n2,5,1\n1,3,1\n"),
              "club.csv: time runs backwards at 1.000000 s");
}

TEST(RasAeroCsv, ImperialColumnsRecognisedOthersSkipped) {
    std::string text =
        "Time (sec),Stage,Stage Time (sec),Mach Number,CD,Weight (lb),Accel-V (ft/sec^2),"
        "Velocity (ft/sec),Vel-V (ft/sec),Vel-H (ft/sec),Altitude (ft),Distance (ft)\r\n";
    for (int i = 0; i <= 40; ++i) {
        const double t = i * 0.5;
        const double h = 300.0 * t - 16.0 * t * t;  // ft
        const double v = 300.0 - 32.0 * t;
        text += tt::exportNumber(t, 2) + ",S," + tt::exportNumber(t, 2) + ",0.2,0.5,2.5,-32," +
                tt::exportNumber(std::fabs(v), 3) + "," + tt::exportNumber(v, 3) + ",1," +
                tt::exportNumber(h, 3) + ",\r\n";
    }
    const auto sim = readOne(text);
    EXPECT_EQ(sim.name, "club");
    ASSERT_EQ(sim.points(), 41u);
    EXPECT_NEAR(sim.altitudeM[10], (300.0 * 5 - 16.0 * 25) * 0.3048, 1e-6);
    EXPECT_NEAR(sim.verticalVelocityMs[10], (300.0 - 160.0) * 0.3048, 1e-6);
    EXPECT_NEAR(sim.massKg[0], 2.5 * 0.45359237, 1e-9);
    EXPECT_NEAR(sim.verticalAccelerationMs2[3], -32 * 0.3048, 1e-9);
    EXPECT_EQ(sim.dragCoefficient[0], 0.5);
    const auto facts = simulation::simulationFacts(sim);
    EXPECT_NEAR(*facts.apogeeTimeS, 9.5, 1e-9);
    EXPECT_NE(refusal("Time (sec),Stage,Altitude (ft)\n1,S,abc\n").find("line 2, column 3"),
              std::string::npos);
}

}  // namespace
