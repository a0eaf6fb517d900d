// SPDX-License-Identifier: MIT
// A simulation kept with a library flight: copied into the folder, found again after the
// library is reopened, shown by `library show`, refused when the file holds none, gone
// with its flight, and an index from before attachments opened and migrated.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "cli/cli_args.h"
#include "cli/library_commands.h"
#include "cli/library_option.h"
#include "library/flight_library.h"
#include "library/index_schema.h"
#include "support/cli_run.h"
#include "support/sim_files.h"
#include "support/temp_dir.h"

namespace tevusb {
namespace {

namespace tt = tevusb::testing;

const std::vector<tt::OrkSimulation> kClub = {
    {"F67 at the club field", true, 1, false, 1.0},
    {"H128 two stages", true, 2, false, 1.5},
};

struct LibrarySimulation : ::testing::Test {
    tt::TempDir folder;
    tt::TempDir outside;
    std::int64_t id = 0;

    void SetUp() override {
        library::FlightLibrary lib(folder.path());
        ASSERT_TRUE(lib.open().ok());
        const auto items = lib.importPaths({TEVUSB_SAMPLE_FLIGHT});
        ASSERT_EQ(items.size(), 1u);
        ASSERT_TRUE(items[0].outcome.ok()) << items[0].outcome.message;
        id = items[0].outcome.id;
        tt::writeAll(outside / "club.ork", tt::zipped(tt::orkXml(kClub)));
    }
};

TEST_F(LibrarySimulation, KeptWithTheFlightAcrossReopeningAndShownByTheCommandLine) {
    {
        library::FlightLibrary lib(folder.path());
        ASSERT_TRUE(lib.open().ok());
        const auto kept = lib.attachSimulation(id, outside / "club.ork", "H128 two stages");
        ASSERT_TRUE(kept.ok()) << kept.message;
    }
    // The flyer's own copy may go: the library has its own.
    std::filesystem::remove(outside / "club.ork");
    library::FlightLibrary lib(folder.path());
    ASSERT_TRUE(lib.open().ok());
    const auto attached = lib.attachedSimulation(id);
    ASSERT_TRUE(attached.has_value());
    EXPECT_EQ(attached->simName, "H128 two stages");
    EXPECT_TRUE(std::filesystem::exists(attached->file));
    EXPECT_EQ(attached->file.string().rfind(folder.path().string(), 0), 0u);
    ASSERT_TRUE(attached->simApogeeM.has_value());
    EXPECT_NEAR(*attached->simApogeeM, tt::referenceFlight().apogeeM * 1.5, 0.5);
    EXPECT_EQ(lib.attachedSimulations().size(), 1u);

    cli::setLibraryOption(folder.path().string());
    const auto show = tt::runCli(cli::runLibrary, {"show", std::to_string(id)});
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_TRUE(tt::has(show.out, "Simulation: H128 two stages (club.ork), apogee ")) << show.out;
    EXPECT_TRUE(tt::has(show.out, " %\n")) << show.out;

    // The command line attaches too; a file without a simulation is refused by name.
    tt::writeAll(outside / "one.csv", tt::openRocketCsv({}));
    const auto attach = tt::runCli(
        cli::runLibrary, {"attach-sim", std::to_string(id), (outside / "one.csv").string()});
    EXPECT_EQ(attach.status, 0) << attach.err;
    EXPECT_EQ(lib.attachedSimulation(id)->simName, "Club flight H128");
    tt::writeAll(outside / "nan.csv", "# Time (s),Altitude (m)\nNaN,NaN\n");
    const auto bad = tt::runCli(cli::runLibrary,
                                {"attach-sim", std::to_string(id), (outside / "nan.csv").string()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(tt::has(bad.err, "nan.csv")) << bad.err;
    EXPECT_EQ(lib.attachedSimulation(id)->simName, "Club flight H128");  // the old one stays
    const auto unknown =
        tt::runCli(cli::runLibrary, {"attach-sim", "999", (outside / "one.csv").string()});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(tt::runCli(cli::runLibrary, {"attach-sim", std::to_string(id)}).status, 2);
    cli::setLibraryOption(std::nullopt);

    const auto named = lib.attachSimulation(id, outside / "one.csv", std::string("Nope"));
    EXPECT_EQ(named.status, library::LibraryStatus::BadFile);
    EXPECT_TRUE(tt::has(named.message, "no simulation named \"Nope\"")) << named.message;

    // Removing the flight takes its attachment along.
    ASSERT_TRUE(lib.remove(id).ok());
    EXPECT_FALSE(lib.attachedSimulation(id).has_value());
    EXPECT_TRUE(lib.attachedSimulations().empty());
}

// Rebuilding the index clears its flights and reads them back from the archive files; what
// the flyer kept with them, the simulation and the flight's date, must come back too.
TEST_F(LibrarySimulation, ARebuildKeepsTheSimulationAndTheFlightDate) {
    library::FlightLibrary lib(folder.path());
    ASSERT_TRUE(lib.open().ok());
    ASSERT_TRUE(lib.attachSimulation(id, outside / "club.ork", "H128 two stages").ok());
    library::FlightFields fields;
    fields.flightDate = "2026-12-05";
    ASSERT_TRUE(lib.edit(id, fields).ok());

    const auto rebuilt = lib.rebuild({});
    ASSERT_TRUE(rebuilt.ok()) << rebuilt.message;
    ASSERT_EQ(lib.list().size(), 1u);
    const std::int64_t after = lib.list().front().id;
    EXPECT_EQ(lib.list().front().flightDate, "2026-12-05");
    const auto attached = lib.attachedSimulation(after);
    ASSERT_TRUE(attached.has_value());
    EXPECT_EQ(attached->simName, "H128 two stages");
    EXPECT_TRUE(std::filesystem::exists(attached->file));
}

TEST_F(LibrarySimulation, AnIndexFromBeforeAttachmentsIsMigratedWithItsFlights) {
    // Put the index back as the previous program left it.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((folder / "index.sqlite").string().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "DROP TRIGGER flight_simulations_follow; DROP TABLE flight_simulations; "
                           "ALTER TABLE flights DROP COLUMN flight_date; "
                           "PRAGMA user_version = 4;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);

    library::FlightLibrary lib(folder.path());
    const auto opened = lib.open();
    ASSERT_TRUE(opened.ok()) << opened.message;
    EXPECT_EQ(lib.list().size(), 1u);
    EXPECT_FALSE(lib.attachedSimulation(id).has_value());
    EXPECT_TRUE(lib.attachSimulation(id, outside / "club.ork").ok());
    EXPECT_EQ(lib.attachedSimulation(id)->simName, "F67 at the club field");
}

}  // namespace
}  // namespace tevusb
