// SPDX-License-Identifier: MIT
// Rocket profiles and pre-flight records in a real library index on disk.
#include <gtest/gtest.h>

#include "library/flight_library.h"
#include "library/preflight_record.h"
#include "library/rocket_profiles.h"
#include "library_fixture.h"
#include "support/log_capture.h"
#include "support/sql_file.h"

using namespace tevusb;
using library::FlightLibrary;
using library::LibraryStatus;
using settings::LineMode;
using settings::RocketProfile;
using tevusb::testing::simulatedDownload;
using tevusb::testing::TempDir;

namespace {

std::uint8_t mode(LineMode m) {
    return static_cast<std::uint8_t>(m);
}

RocketProfile nova() {
    RocketProfile p;
    p.name = "Nova";
    p.lineA = {mode(LineMode::Apogee), std::nullopt};
    p.lineB = {mode(LineMode::Altitude), 200};
    p.inhibitTime = 35;
    p.minBatteryV = 7.4;
    p.expectedApogeeM = 812.5;
    p.notes = "dual deploy, 38 mm";
    return p;
}

data::PreflightReport goReport(const std::string& profile) {
    data::PreflightReport r;
    r.profile = profile;
    r.items = {{"settings", data::CheckStatus::Ok, "As set."},
               {"memory", data::CheckStatus::Warning, "Kept flights."}};
    r.batteryV = 9.1;
    return r;
}

void sql(const std::filesystem::path& folder, const std::string& statement) {
    tevusb::testing::runSql(folder / "index.sqlite", statement);
}

}  // namespace

TEST(RocketProfiles, KeptListedRenamedAndDeletedByNameIgnoringCase) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    FlightLibrary lib(dir.path());
    ASSERT_TRUE(lib.open().ok());
    ASSERT_TRUE(library::saveProfile(lib, nova()).ok());
    RocketProfile vega = nova();
    vega.name = "Vega";
    vega.lineA = {mode(LineMode::Time), 15};
    vega.expectedApogeeM.reset();
    ASSERT_TRUE(library::saveProfile(lib, vega).ok());

    // What went in comes out, in the units of the record.
    EXPECT_EQ(library::findProfile(lib, "nova"), nova());
    EXPECT_EQ(library::findProfile(lib, "VEGA"), vega);
    ASSERT_EQ(library::listProfiles(lib).size(), 2u);
    EXPECT_EQ(library::listProfiles(lib)[1].name, "Vega");

    // Saving under the same name replaces; a line in Apogee mode never keeps a value.
    RocketProfile changed = nova();
    changed.lineB = {mode(LineMode::Apogee), 300};
    ASSERT_TRUE(library::saveProfile(lib, changed).ok());
    EXPECT_EQ(library::findProfile(lib, "Nova")->lineB,
              (settings::ProfileLine{mode(LineMode::Apogee), std::nullopt}));
    EXPECT_EQ(library::listProfiles(lib).size(), 2u);

    EXPECT_EQ(library::renameProfile(lib, "Nova", "vega").status, LibraryStatus::Duplicate);
    EXPECT_TRUE(library::renameProfile(lib, "Nova", "nova").ok());
    EXPECT_TRUE(library::renameProfile(lib, "nova", "Nova II").ok());
    EXPECT_EQ(library::renameProfile(lib, "Nova", "X").status, LibraryStatus::NotFound);
    EXPECT_TRUE(library::findProfile(lib, "Nova II").has_value());
    EXPECT_TRUE(library::deleteProfile(lib, "nova ii").ok());
    library::Outcome gone;
    EXPECT_FALSE(library::findProfile(lib, "Nova II", &gone));
    EXPECT_EQ(gone.status, LibraryStatus::NotFound);
    EXPECT_NE(gone.message.find("\"Nova II\""), std::string::npos);
    EXPECT_EQ(library::deleteProfile(lib, "Nova II").status, LibraryStatus::NotFound);
}

TEST(RocketProfiles, ImpossibleProfilesAreRefusedWithTheReason) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    FlightLibrary lib(dir.path());
    ASSERT_TRUE(lib.open().ok());
    const struct {
        void (*change)(RocketProfile&);
        const char* says;
    } cases[] = {
        {[](RocketProfile& p) { p.name = "  "; }, "Rocket name"},
        {[](RocketProfile& p) {
             p.lineA = {mode(LineMode::Time), std::nullopt};
         },
         "Line A: the Time mode needs a value"},
        {[](RocketProfile& p) {
             p.lineB = {7, 100};
         },
         "Line B: mode 7"},
        {[](RocketProfile& p) { p.minBatteryV = -1; }, "Lowest battery voltage"},
        {[](RocketProfile& p) { p.minBatteryV = std::nan(""); }, "Lowest battery voltage"},
        {[](RocketProfile& p) { p.expectedApogeeM = -5; }, "Expected apogee"},
    };
    for (const auto& c : cases) {
        RocketProfile p = nova();
        c.change(p);
        const library::Outcome o = library::saveProfile(lib, p);
        EXPECT_FALSE(o.ok()) << c.says;
        EXPECT_NE(o.message.find(c.says), std::string::npos) << o.message;
    }
    EXPECT_TRUE(library::listProfiles(lib).empty());
}

TEST(RocketProfiles, ALibraryOfTheEarlierSchemaGainsTheTablesAndKeepsItsFlights) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    {
        FlightLibrary lib(dir.path());
        ASSERT_TRUE(lib.open().ok());
        lib.archiveDownload(simulatedDownload(2));
    }
    // Back to what the previous version wrote.
    sql(dir.path(),
        "DROP TABLE preflight_items; DROP TABLE preflight_checks; DROP TABLE rocket_profiles; "
        "ALTER TABLE flights DROP COLUMN flight_date; "
        "PRAGMA user_version=4");
    FlightLibrary lib(dir.path());
    ASSERT_TRUE(lib.open().ok());
    EXPECT_EQ(lib.list().size(), 2u);
    EXPECT_TRUE(library::saveProfile(lib, nova()).ok());
    EXPECT_TRUE(library::findProfile(lib, "Nova").has_value());
}

TEST(PreflightRecords, TheNextNewFlightFromThatAltimeterIsLinkedToTheLatestCheck) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    FlightLibrary lib(dir.path());
    ASSERT_TRUE(lib.open().ok());
    library::DownloadInput before = simulatedDownload(2);
    before.altimeter = "/dev/hidraw-sim0";
    // The check saw two flights on the altimeter; they are downloaded after it.
    std::int64_t older = 0, checkId = 0;
    ASSERT_TRUE(
        library::recordPreflight(lib, goReport("Old"), "/dev/hidraw-sim0", {}, &older).ok());
    ASSERT_TRUE(library::recordPreflight(lib, goReport("Nova"), "/dev/hidraw-sim0", before.packets,
                                         &checkId)
                    .ok());
    const auto first = lib.archiveDownload(before);
    ASSERT_TRUE(first[0].outcome.ok());
    EXPECT_FALSE(library::preflightBeforeFlight(lib, first[0].outcome.id).has_value());
    EXPECT_FALSE(library::preflightBeforeFlight(lib, first[1].outcome.id).has_value());

    // Another altimeter's download is not the flight this check preceded.
    library::DownloadInput elsewhere = simulatedDownload(3);
    elsewhere.altimeter = "/dev/hidraw-other";
    const auto other = lib.archiveDownload(elsewhere);
    ASSERT_TRUE(other[2].outcome.ok());
    EXPECT_FALSE(library::preflightBeforeFlight(lib, other[2].outcome.id).has_value());

    // The flight made after the check: the third set of a later download.
    library::DownloadInput after = simulatedDownload(4);
    after.altimeter = "/dev/hidraw-sim0";
    const auto second = lib.archiveDownload(after);
    ASSERT_TRUE(second[3].outcome.ok());
    const auto linked = library::preflightBeforeFlight(lib, second[3].outcome.id);
    ASSERT_TRUE(linked.has_value());
    EXPECT_EQ(linked->id, checkId);
    EXPECT_EQ(linked->report.profile, "Nova");
    EXPECT_EQ(linked->report.items, goReport("Nova").items);
    EXPECT_EQ(linked->report.batteryV, 9.1);
    EXPECT_TRUE(linked->report.go());
    const auto lines = library::preflightLines(*linked);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find(": go for the rocket profile \"Nova\""), std::string::npos) << lines[0];
    EXPECT_EQ(lines[2], "memory warning: Kept flights.");

    // Linked once: the older check stays unlinked, and so does any later flight.
    library::DownloadInput later = simulatedDownload(5);
    later.altimeter = "/dev/hidraw-sim0";
    EXPECT_FALSE(library::preflightBeforeFlight(lib, lib.archiveDownload(later)[4].outcome.id));
    const auto latest = library::latestPreflights(lib, 5);
    ASSERT_EQ(latest.size(), 2u);
    EXPECT_EQ(latest[1].id, older);
    EXPECT_FALSE(latest[1].flightId.has_value());
}

// The profiles and checks live only in the index; the archive files give back the flights
// but not these, so a rebuild over a refused index carries them across.
TEST(RocketProfiles, ARebuildOverARefusedIndexKeepsProfilesAndChecks) {
    struct Case {
        const char* name;
        const char* damage;
        bool flightRowsReadable;
    };
    const Case cases[] = {
        {"a newer program's index, with a column this one does not know",
         "ALTER TABLE rocket_profiles ADD COLUMN colour TEXT NOT NULL DEFAULT 'red';"
         "PRAGMA user_version = 99",
         true},
        {"an index whose flights table is gone", "DROP TABLE flights", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tevusb::testing::LogCapture quiet;
        TempDir dir;
        {
            FlightLibrary lib(dir.path());
            ASSERT_TRUE(lib.open().ok());
            ASSERT_TRUE(library::saveProfile(lib, nova()).ok());
            ASSERT_TRUE(library::recordPreflight(lib, goReport("Nova"), "sim-1", {}).ok());
            library::DownloadInput download = simulatedDownload(1);
            download.altimeter = "sim-1";
            for (const auto& item : lib.archiveDownload(download)) {
                ASSERT_TRUE(item.outcome.ok());
            }
        }
        sql(dir.path(), c.damage);

        FlightLibrary lib(dir.path());
        ASSERT_FALSE(lib.open().ok());
        const auto rebuilt = lib.rebuild();
        ASSERT_TRUE(rebuilt.ok()) << rebuilt.message;
        ASSERT_EQ(lib.list().size(), 1u);
        EXPECT_NE(rebuilt.message.find("1 rocket profile and 1 pre-flight check"),
                  std::string::npos)
            << rebuilt.message;
        EXPECT_EQ(library::findProfile(lib, "Nova"), nova());
        const auto checks = library::latestPreflights(lib, 5);
        ASSERT_EQ(checks.size(), 1u);
        EXPECT_EQ(checks[0].report.items.size(), 2u);
        EXPECT_EQ(checks[0].report.profile, "Nova");
        // The flight keeps its id when the old rows give it, so the link still holds.
        if (c.flightRowsReadable) {
            ASSERT_TRUE(checks[0].flightId.has_value());
            EXPECT_EQ(*checks[0].flightId, lib.list()[0].id);
        }
    }
}
