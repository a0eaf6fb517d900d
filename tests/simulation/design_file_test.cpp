// SPDX-License-Identifier: MIT
// Design files: zip, gzip and plain XML, several simulations, summaries, and refusals.
#include <gtest/gtest.h>

#include "simulation/simulation_facts.h"
#include "simulation/simulation_file.h"
#include "support/sim_files.h"
#include "support/temp_dir.h"

using namespace tevusb;
namespace tt = tevusb::testing;

namespace {

using Sims = std::vector<simulation::Simulation>;

Sims readOk(const std::string& bytes) {
    auto result = simulation::readSimulations(bytes, "club.ork", "club");
    if (auto* error = std::get_if<simulation::ImportError>(&result)) {
        ADD_FAILURE() << error->message;
        return {};
    }
    return std::get<Sims>(result);
}

std::string refusal(const std::string& bytes) {
    auto result = simulation::readSimulations(bytes, "club.ork", "club");
    auto* error = std::get_if<simulation::ImportError>(&result);
    return error ? error->message : "(accepted)";
}

const std::vector<tt::OrkSimulation> kThree = {
    {"F67 at the club field", true, 1, false, 1.0},
    {"G80 windy", false, 1, false, 1.4},
    {"H128 two stages", true, 2, true, 2.0},
};

TEST(DesignFile, EveryContainerAndVersionGivesTheSameSimulations) {
    for (const std::string version : {"1.0", "1.4", "1.8", "1.10"}) {
        const std::string xml = tt::orkXml(kThree, version);
        for (const std::string& bytes : {xml, tt::gzipped(xml), tt::zipped(xml)}) {
            SCOPED_TRACE(version + " " + std::to_string(bytes.size()));
            const Sims sims = readOk(bytes);
            ASSERT_EQ(sims.size(), 3u);
            EXPECT_EQ(sims[0].name, "F67 at the club field");
            EXPECT_EQ(sims[1].name, "G80 windy");
            EXPECT_EQ(sims[0].points(), tt::referenceFlight().t.size());
            EXPECT_EQ(sims[1].points(), 0u);
            EXPECT_EQ(sims[2].points(), tt::referenceFlight().t.size());
        }
    }
}

TEST(DesignFile, SummaryDataEventsAndTheSustainersBranch) {
    const auto& f = tt::referenceFlight();
    const Sims sims = readOk(tt::zipped(tt::orkXml(kThree)));
    ASSERT_EQ(sims.size(), 3u);

    // The apogee is the first largest sample, not the summary's event a step later.
    const auto first = simulation::simulationFacts(sims[0]);
    EXPECT_NEAR(*first.apogeeM, f.apogeeM, 0.2);
    EXPECT_NEAR(*first.apogeeTimeS, 10.65, 1e-9);
    EXPECT_NEAR(*sims[0].summary.timeToApogeeS, f.apogeeS + 0.05, 1e-6);
    ASSERT_EQ(sims[0].events.size(), 4u);
    EXPECT_EQ(sims[0].events[1].type, "burnout");
    EXPECT_EQ(sims[0].events[3].type, "recoverydevicedeployment");
    EXPECT_NEAR(*first.coastMassKg, 1.2, 1e-6);
    // From the reference length (57 mm), not the 0.003 m² the file rounded the area to.
    EXPECT_NEAR(*first.referenceAreaM2, 3.14159265 * 0.057 * 0.057 / 4.0, 1e-8);
    EXPECT_NEAR(*first.coastCd, 0.45 + 0.01 * (2.0 + 5.0) / 2.0, 0.01);

    const auto summary = simulation::simulationFacts(sims[1]);
    EXPECT_NEAR(*summary.apogeeM, f.apogeeM * 1.4, 1e-3);
    EXPECT_TRUE(sims[1].events.empty());
    EXPECT_FALSE(summary.maxVerticalVelocityMs);

    // Two stages: the first branch is the sustainer's; 60 columns with NaN in several.
    const auto twoStage = simulation::simulationFacts(sims[2]);
    EXPECT_NEAR(*twoStage.apogeeM, f.apogeeM * 2.0, 0.5);
}

TEST(DesignFile, AZipWhoseDesignIsNotFirstStillLoads) {
    // Some archivers reorder entries; the design is found by its name then.
    const std::string xml = tt::orkXml({kThree[0]});
    EXPECT_EQ(readOk(tt::zipped(xml, "rocket.ork", false)).size(), 1u);
}

TEST(DesignFile, RefusalsSayWhatIsWrong) {
    const std::string xml = tt::orkXml(kThree);
    const std::string zip = tt::zipped(xml);
    EXPECT_NE(refusal(zip.substr(0, zip.size() / 2)).find("club.ork: damaged zip container"),
              std::string::npos);
    const std::string gz = tt::gzipped(xml);
    EXPECT_EQ(refusal(gz.substr(0, gz.size() / 2)),
              "club.ork: the compressed design ends early (a truncated file)");
    const std::string bomb =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [<!ENTITY lol \"lol\">"
        "<!ENTITY lol2 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">"
        "<!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">]>\n"
        "<openrocket>&lol3;</openrocket>\n";
    EXPECT_NE(refusal(bomb).find("club.ork, line 2"), std::string::npos) << refusal(bomb);
    EXPECT_NE(refusal(bomb).find("document type"), std::string::npos);
    EXPECT_NE(refusal(tt::zipped(bomb)).find("document type"), std::string::npos);
    EXPECT_NE(refusal("<html><body/></html>").find("not a rocket design"), std::string::npos);
    EXPECT_NE(refusal(xml.substr(0, xml.size() - 40)).find("not well-formed XML"),
              std::string::npos);
    EXPECT_EQ(refusal(tt::orkXml({})), "club.ork: the design holds no simulation results");
    // Data without an altitude column and no summary to fall back on.
    std::string noAltitude = tt::orkXml({kThree[0]});
    noAltitude.replace(noAltitude.find("Time,Altitude,"), 14, "Time,Height,");
    noAltitude.replace(noAltitude.find("maxaltitude="), 12, "maxheight=");
    EXPECT_EQ(refusal(noAltitude),
              "club.ork: simulation \"F67 at the club field\": no altitude column");
    // Found by fuzzing: a simulation opened inside a datapoint once left the reader
    // adding a row to a simulation that had no columns.
    std::string nested = tt::orkXml({kThree[0]});
    nested.insert(nested.find("</datapoint>"), "<simulations><simulation/></simulations>");
    EXPECT_NE(refusal(nested).find("unexpected element <simulations> inside <datapoint>"),
              std::string::npos)
        << refusal(nested);
    std::string longPoint = tt::orkXml({kThree[0]});
    longPoint.insert(longPoint.find("</datapoint>"), std::string(70000, '1'));
    EXPECT_NE(refusal(longPoint).find("longer than 65536 bytes"), std::string::npos);
}

TEST(DesignFile, LoadedFromDiskByContentNotName) {
    tt::TempDir dir;
    tt::writeAll(dir / "club.csv", tt::gzipped(tt::orkXml({kThree[0]})));
    auto result = simulation::loadSimulationFile(dir / "club.csv");
    ASSERT_TRUE(std::holds_alternative<Sims>(result));
    auto missing = simulation::loadSimulationFile(dir / "none.ork");
    ASSERT_TRUE(std::holds_alternative<simulation::ImportError>(missing));
    EXPECT_NE(std::get<simulation::ImportError>(missing).message.find("none.ork: cannot be opened"),
              std::string::npos);
}

}  // namespace
