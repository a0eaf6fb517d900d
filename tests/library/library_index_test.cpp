// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <random>

#include "library/flight_library.h"
#include "library/flight_name.h"
#include "library/index_schema.h"
#include "library/local_time.h"
#include "library_fixture.h"
#include "support/log_capture.h"
#include "support/sql_file.h"

using namespace tevusb;
using library::FlightLibrary;
using library::LibraryStatus;
using tevusb::testing::readAll;
using tevusb::testing::simulatedDownload;
using tevusb::testing::TempDir;
using tevusb::testing::writeAll;

namespace {

using tevusb::testing::runSql;

// A library of three flights, the second with a rocket and a comment typed in.
std::vector<library::FlightRecord> fillLibrary(const std::filesystem::path& folder) {
    FlightLibrary flights(folder);
    EXPECT_TRUE(flights.open().ok());
    for (const auto& item : flights.archiveDownload(simulatedDownload(3))) {
        EXPECT_TRUE(item.outcome.ok());
    }
    library::FlightFields f;
    f.rocket = "Nike";
    f.comment = "drogue tangled";
    EXPECT_TRUE(flights.edit(flights.list()[1].id, f).ok());
    return flights.list();
}

struct Damage {
    const char* name;
    LibraryStatus status;
    bool fieldsSurvive;
    std::function<void(const std::filesystem::path&)> apply;
};

}  // namespace

TEST(LibraryIndex, ADamagedOrNewerIndexIsRefusedUntouchedAndRebuildRestoresEveryFlight) {
    const std::vector<Damage> damages = {
        {"random bytes", LibraryStatus::IndexDamaged, false,
         [](const std::filesystem::path& f) {
             std::mt19937 rng(7);
             std::string bytes(std::filesystem::file_size(f), '\0');
             for (auto& c : bytes) {
                 c = static_cast<char>(rng());
             }
             writeAll(f, bytes);
         }},
        {"truncated to a header", LibraryStatus::IndexDamaged, false,
         [](const std::filesystem::path& f) { std::filesystem::resize_file(f, 100); }},
        {"truncated after two pages", LibraryStatus::IndexDamaged, false,
         [](const std::filesystem::path& f) { std::filesystem::resize_file(f, 8192); }},
        {"newer schema", LibraryStatus::IndexNewer, true,
         [](const std::filesystem::path& f) { runSql(f, "PRAGMA user_version = 99"); }},
        {"wrong layout", LibraryStatus::IndexDamaged, false,
         [](const std::filesystem::path& f) {
             runSql(f, "ALTER TABLE flights RENAME COLUMN hash TO digest");
         }},
    };
    for (const auto& damage : damages) {
        SCOPED_TRACE(damage.name);
        tevusb::testing::LogCapture quiet;
        TempDir dir;
        const auto before = fillLibrary(dir.path());
        const auto index = dir / "index.sqlite";
        damage.apply(index);
        const std::string damaged = readAll(index);

        FlightLibrary flights(dir.path());
        const auto opened = flights.open();
        EXPECT_EQ(opened.status, damage.status) << opened.message;
        EXPECT_FALSE(flights.isOpen());
        EXPECT_NE(opened.message.find(index.string()), std::string::npos) << opened.message;
        EXPECT_EQ(opened.message.find('\n'), std::string::npos);
        EXPECT_EQ(readAll(index), damaged);
        library::Outcome listed;
        EXPECT_TRUE(flights.list({}, &listed).empty());
        EXPECT_EQ(listed.status, LibraryStatus::NotOpen);

        const auto rebuilt = flights.rebuild();
        ASSERT_TRUE(rebuilt.ok()) << rebuilt.message;
        EXPECT_NE(rebuilt.message.find("3 flights"), std::string::npos) << rebuilt.message;
        const auto after = flights.list();
        ASSERT_EQ(after.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(after[i].hash, before[i].hash);
            EXPECT_EQ(after[i].archivePath, before[i].archivePath);
            EXPECT_EQ(after[i].apogeeAglM, before[i].apogeeAglM);
        }
        if (damage.fieldsSurvive) {
            EXPECT_EQ(after[1].id, before[1].id);
            EXPECT_EQ(after[1].rocket, "Nike");
            EXPECT_EQ(after[1].comment, "drogue tangled");
        }
        // The old index is kept beside the new one, byte for byte.
        int asideCopies = 0;
        for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
            const auto name = e.path().filename().string();
            if (name.rfind("index.sqlite.", 0) == 0 && name.find("-wal") == std::string::npos &&
                name.find("-shm") == std::string::npos) {
                ++asideCopies;
                EXPECT_EQ(readAll(e.path()), damaged);
            }
        }
        EXPECT_EQ(asideCopies, 1);
    }
}

TEST(LibraryIndex, RebuildOfAHealthyIndexKeepsIdsAndFieldsAndDropsVanishedFiles) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    const auto before = fillLibrary(dir.path());
    std::filesystem::remove(dir / before[2].archivePath);
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    const auto rebuilt = flights.rebuild();
    ASSERT_TRUE(rebuilt.ok()) << rebuilt.message;
    const auto after = flights.list();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].id, before[0].id);
    EXPECT_EQ(after[1].id, before[1].id);
    EXPECT_EQ(after[1].rocket, "Nike");
    EXPECT_EQ(after[1].comment, "drogue tangled");
    // No index moved aside: it was healthy.
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_EQ(e.path().filename().string().rfind("index.sqlite.", 0), std::string::npos);
    }
}

TEST(LibraryIndex, AnEmptyIndexLeftByAKillDuringTheFirstOpenIsStartedAfresh) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    const auto before = fillLibrary(dir.path());
    writeAll(dir / "index.sqlite", "");
    FlightLibrary flights(dir.path());
    const auto opened = flights.open();
    ASSERT_TRUE(opened.ok()) << opened.message;
    EXPECT_EQ(flights.list().size(), before.size());
}

TEST(LibraryIndex, AnOlderSchemaIsMigratedWithItsRowsKept) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    const auto before = fillLibrary(dir.path());
    // What the first schema looked like: the table without the date index and without
    // the packets-only hash.
    runSql(dir / "index.sqlite",
           "DROP INDEX flights_downloaded_at; DROP INDEX flights_packets_hash;"
           " ALTER TABLE flights DROP COLUMN packets_hash;"
           " ALTER TABLE flights DROP COLUMN flight_date; PRAGMA user_version = 1");
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    const auto after = flights.list();
    ASSERT_EQ(after.size(), before.size());
    // The rows written before the hash existed get it from their archive files.
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].packetsHash, before[i].packetsHash) << i;
        EXPECT_EQ(after[i].packetsHash.size(), 64U);
        EXPECT_EQ(after[i].rocket, before[i].rocket);
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((dir / "index.sqlite").string().c_str(), &db), SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT (SELECT user_version FROM pragma_user_version),"
                       " (SELECT count(*) FROM sqlite_master WHERE name = 'flights_downloaded_at')",
                       -1, &s, nullptr);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(s, 0), library::index_schema::kSchemaVersion);
    EXPECT_EQ(sqlite3_column_int(s, 1), 1);
    sqlite3_finalize(s);
    sqlite3_close(db);
}

TEST(LibraryIndex, AnIndexNamingFilesOutsideTheLibraryCannotReachThem) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    const auto before = fillLibrary(dir.path());
    writeAll(dir / "outside.tev", readAll(dir / before[0].archivePath));
    runSql(dir / "index.sqlite",
           "UPDATE flights SET archive_path = '../outside.tev' WHERE id = " +
               std::to_string(before[0].id) +
               "; UPDATE flights SET archive_path = '/etc/passwd' WHERE id = " +
               std::to_string(before[1].id));
    const std::string outside = readAll(dir / "outside.tev");
    FlightLibrary flights(dir / "");
    ASSERT_TRUE(flights.open().ok());
    TempDir out;
    for (const auto& r : {before[0], before[1]}) {
        EXPECT_EQ(flights.remove(r.id).status, LibraryStatus::IndexDamaged);
        EXPECT_EQ(flights.exportFlight(r.id, library::ExportFormat::Csv, out / "x.csv").status,
                  LibraryStatus::IndexDamaged);
    }
    EXPECT_EQ(readAll(dir / "outside.tev"), outside);
    EXPECT_FALSE(std::filesystem::exists(out / "x.csv"));
    EXPECT_FALSE(std::filesystem::exists(dir / "deleted"));
}

TEST(LibraryIndex, AnArchiveFileIsFoundByAnySpellingOfItsPathAndNothingElseIs) {
    TempDir dir;
    const auto records = fillLibrary(dir.path());
    ASSERT_EQ(records.size(), 3u);
    FlightLibrary flights(dir.path());
    library::Outcome outcome;
    EXPECT_FALSE(flights.findArchived(dir / records[1].archivePath, &outcome));
    EXPECT_EQ(outcome.status, LibraryStatus::NotOpen);
    ASSERT_TRUE(flights.open().ok());

    const std::filesystem::path file = dir / records[1].archivePath;
    const std::filesystem::path roundabout =
        dir / "flights" / ".." / "flights" /
        std::filesystem::path(records[1].archivePath).lexically_relative("flights");
    std::filesystem::create_directory_symlink(dir.path(), dir / "link");
    for (const auto& spelling : {file, roundabout, dir / "link" / records[1].archivePath}) {
        const auto found = flights.findArchived(spelling, &outcome);
        ASSERT_TRUE(found) << spelling << ": " << outcome.message;
        EXPECT_TRUE(outcome.ok());
        EXPECT_EQ(found->id, records[1].id);
        EXPECT_EQ(found->rocket, "Nike");
        EXPECT_EQ(found->comment, "drogue tangled");
    }

    // A copy elsewhere, a file in the library folder that the index does not name, and
    // the folder itself are not flights of the library.
    writeAll(dir / "copy.tev", readAll(file));
    TempDir other;
    writeAll(other / "copy.tev", readAll(file));
    for (const auto& stranger :
         {dir / "copy.tev", other / "copy.tev", dir.path(), dir / "flights" / "nope.tev"}) {
        EXPECT_FALSE(flights.findArchived(stranger, &outcome)) << stranger;
        EXPECT_EQ(outcome.status, LibraryStatus::NotFound) << stranger;
        EXPECT_FALSE(outcome.message.empty());
    }
}

namespace {

TEST(LibraryNames, ALibraryFromBeforeFlightDatesOpensAndNamesItsFlightsByTheDownloadDay) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    const auto before = fillLibrary(dir.path());
    // The layout before the flight date: one step back.
    runSql(dir / "index.sqlite",
           "ALTER TABLE flights DROP COLUMN flight_date; PRAGMA user_version = " +
               std::to_string(library::index_schema::kSchemaVersion - 1));
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    auto after = flights.list();
    ASSERT_EQ(after.size(), before.size());
    const std::string downloadDay = library::localMinuteText(after[1].downloadedAt).substr(0, 10);
    EXPECT_TRUE(after[1].flightDate.empty());
    EXPECT_EQ(library::flightDay(after[1]), downloadDay);
    EXPECT_EQ(library::flightName(after[1]), "Nike, " + downloadDay + ", set 2");
    EXPECT_EQ(library::flightName(after[0]),
              "Flight #" + std::to_string(after[0].id) + ", " + downloadDay + ", set 1");

    library::FlightFields f;
    f.motor = "H128";
    f.flightDate = "2026-12-06";
    ASSERT_TRUE(flights.edit(after[1].id, f).ok());
    EXPECT_EQ(library::flightName(*flights.get(after[1].id)), "Nike / H128, 2026-12-06, set 2");
    for (const char* wrong : {"2026-02-30", "06.12.2026", "2026-13-01", "yesterday"}) {
        library::FlightFields bad;
        bad.flightDate = wrong;
        const auto refused = flights.edit(after[1].id, bad);
        EXPECT_FALSE(refused.ok()) << wrong;
        EXPECT_NE(refused.message.find(wrong), std::string::npos) << refused.message;
    }
    EXPECT_EQ(flights.get(after[1].id)->flightDate, "2026-12-06")
        << "a refused date changes nothing";
    library::FlightFields clear;
    clear.flightDate = "";
    ASSERT_TRUE(flights.edit(after[1].id, clear).ok());
    EXPECT_EQ(library::flightDay(*flights.get(after[1].id)), downloadDay);
}

TEST(LibraryNames, CalendarDatesAndPlainFiles) {
    EXPECT_TRUE(library::isCalendarDate("2024-02-29"));
    EXPECT_FALSE(library::isCalendarDate("2023-02-29"));
    EXPECT_FALSE(library::isCalendarDate("2026-04-31"));
    EXPECT_FALSE(library::isCalendarDate("2026-1-01"));
    EXPECT_EQ(library::fileFlightName("field-day.tev", 1), "field-day.tev, set 2");
}

}  // namespace
