// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <regex>

#include "data/data_set_store.h"
#include "library/flight_library.h"
#include "library_fixture.h"
#include "support/log_capture.h"

using namespace tevusb;
using library::FlightLibrary;
using library::LibraryStatus;
using tevusb::testing::archiveFilesOf;
using tevusb::testing::readAll;
using tevusb::testing::simulatedDownload;
using tevusb::testing::TempDir;

namespace {

struct Archived {
    std::vector<std::int64_t> ids;
};

Archived archiveOk(FlightLibrary& flights, const library::DownloadInput& input) {
    Archived a;
    for (const auto& item : flights.archiveDownload(input)) {
        EXPECT_TRUE(item.outcome.ok()) << item.outcome.message;
        a.ids.push_back(item.outcome.id);
    }
    return a;
}

}  // namespace

TEST(LibraryArchive, EverySetOfADownloadIsArchivedOnceAndReadsBackExactly) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    const auto input = simulatedDownload(3);
    const auto first = archiveOk(flights, input);
    ASSERT_EQ(first.ids.size(), 3u);
    EXPECT_EQ(std::set<std::int64_t>(first.ids.begin(), first.ids.end()).size(), 3u);

    data::DataSetStore image;
    image.packets = input.packets;
    image.settings = input.settings;
    for (int k = 0; k < 3; ++k) {
        const auto record = flights.get(first.ids[static_cast<std::size_t>(k)]);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->setNumber, k + 1);
        EXPECT_EQ(record->firmwareVersion, "1.50");
        EXPECT_TRUE(std::regex_match(record->downloadedAt,
                                     std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)")));
        EXPECT_TRUE(std::regex_match(record->hash, std::regex("[0-9a-f]{64}")));
        image.selectSet(k);
        EXPECT_EQ(record->readings, static_cast<std::int64_t>(image.current.size()));
        ASSERT_TRUE(record->apogeeAglM);
        EXPECT_GT(*record->apogeeAglM, 10.0);

        // The archive file is an ordinary data-set file holding exactly this set.
        data::DataSetStore back;
        std::uint16_t version = 0;
        ASSERT_TRUE(back.loadSetFile(dir / record->archivePath, &version));
        EXPECT_EQ(version, 0x0110);
        const auto a = static_cast<std::size_t>(image.setAddress(k));
        ASSERT_EQ(back.packets.size(), static_cast<std::size_t>(image.packetCount(k)));
        for (std::size_t p = 0; p < back.packets.size(); ++p) {
            EXPECT_EQ(back.packets[p].bytes, input.packets[a + p].bytes);
        }
        EXPECT_EQ(back.settings.image, input.settings.image);
    }

    // The same download again, also through another library object (another program),
    // adds nothing and names the flights already there.
    const auto files = archiveFilesOf(dir.path());
    FlightLibrary other(dir.path());
    ASSERT_TRUE(other.open().ok());
    const auto again = other.archiveDownload(input);
    ASSERT_EQ(again.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(again[k].outcome.status, LibraryStatus::Duplicate);
        EXPECT_EQ(again[k].outcome.id, first.ids[k]);
        EXPECT_EQ(again[k].outcome.message,
                  "Already in the library as #" + std::to_string(first.ids[k]) + ".");
    }
    EXPECT_EQ(archiveFilesOf(dir.path()), files);
    EXPECT_EQ(other.list().size(), 3u);
}

TEST(LibraryArchive, ListFiltersCaseInsensitivelyAndSorts) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    const auto ids = archiveOk(flights, simulatedDownload(3)).ids;
    library::FlightFields f;
    f.rocket = "Big Bertha";
    f.motor = "H128W";
    ASSERT_TRUE(flights.edit(ids[1], f).ok());
    library::FlightFields g;
    g.notes = "windy, 100% cloud";
    g.comment = "Line A late";
    ASSERT_TRUE(flights.edit(ids[2], g).ok());

    const auto byMotor = flights.list({"h128", library::SortKey::Id, false});
    ASSERT_EQ(byMotor.size(), 1u);
    EXPECT_EQ(byMotor[0].id, ids[1]);
    EXPECT_EQ(byMotor[0].rocket, "Big Bertha");
    EXPECT_EQ(flights.list({"LINE a", library::SortKey::Id, false}).size(), 1u);
    // Wildcards in the filter are taken literally.
    EXPECT_EQ(flights.list({"100%", library::SortKey::Id, false}).size(), 1u);
    EXPECT_EQ(flights.list({"_", library::SortKey::Id, false}).size(), 0u);
    EXPECT_EQ(
        flights.list({flights.get(ids[0])->downloadedAt.substr(0, 10), library::SortKey::Id, false})
            .size(),
        3u);

    const auto byApogee = flights.list({"", library::SortKey::ApogeeAgl, true});
    ASSERT_EQ(byApogee.size(), 3u);
    EXPECT_GE(*byApogee[0].apogeeAglM, *byApogee[1].apogeeAglM);
    EXPECT_GE(*byApogee[1].apogeeAglM, *byApogee[2].apogeeAglM);
    const auto byRocket = flights.list({"", library::SortKey::Rocket, true});
    EXPECT_EQ(byRocket.front().id, ids[1]);
}

TEST(LibraryArchive, EditChangesOnlyTheGivenFields) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    const auto ids = archiveOk(flights, simulatedDownload(1)).ids;
    library::FlightFields all;
    all.rocket = "R";
    all.motor = "M";
    all.site = "S";
    all.notes = "N\nsecond line";
    ASSERT_TRUE(flights.edit(ids[0], all).ok());
    library::FlightFields one;
    one.comment = "it's \"fine\"; DROP TABLE flights;";
    ASSERT_TRUE(flights.edit(ids[0], one).ok());
    const auto r = flights.get(ids[0]);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->rocket, "R");
    EXPECT_EQ(r->site, "S");
    EXPECT_EQ(r->notes, "N\nsecond line");
    EXPECT_EQ(r->comment, *one.comment);

    library::Outcome missing;
    EXPECT_FALSE(flights.get(999, &missing));
    EXPECT_EQ(missing.status, LibraryStatus::NotFound);
    EXPECT_EQ(flights.edit(999, one).status, LibraryStatus::NotFound);
    library::FlightFields huge;
    huge.notes = std::string(100000, 'x');
    EXPECT_FALSE(flights.edit(ids[0], huge).ok());
    EXPECT_EQ(flights.get(ids[0])->notes, "N\nsecond line");
}

TEST(LibraryArchive, DeleteMovesTheFileAsideAndNeverReusesTheId) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    const auto input = simulatedDownload(3);
    const auto ids = archiveOk(flights, input).ids;
    const auto gone = *flights.get(ids[1]);
    const std::string bytes = readAll(dir / gone.archivePath);

    ASSERT_TRUE(flights.remove(ids[1]).ok());
    EXPECT_FALSE(std::filesystem::exists(dir / gone.archivePath));
    EXPECT_EQ(readAll(dir / "deleted" / gone.archivePath), bytes);
    EXPECT_EQ(flights.remove(ids[1]).status, LibraryStatus::NotFound);
    EXPECT_EQ(flights.list().size(), 2u);

    // Downloading it again brings it back under a new id; the others are already there.
    const auto again = flights.archiveDownload(input);
    EXPECT_EQ(again[0].outcome.status, LibraryStatus::Duplicate);
    ASSERT_TRUE(again[1].outcome.ok());
    EXPECT_GT(again[1].outcome.id, ids[2]);
    // A second delete of the same flight keeps both deleted copies.
    ASSERT_TRUE(flights.remove(again[1].outcome.id).ok());
    int deletedCopies = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir / "deleted")) {
        deletedCopies += e.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(deletedCopies, 2);
}

TEST(LibraryArchive, ExportWritesTheFlightWithItsCurrentCommentButNeverIntoTheArchive) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    const auto id = archiveOk(flights, simulatedDownload(1)).ids[0];
    library::FlightFields f;
    f.comment = "Main at 150 m";
    ASSERT_TRUE(flights.edit(id, f).ok());
    const auto record = *flights.get(id);
    const std::string archived = readAll(dir / record.archivePath);

    TempDir out;
    ASSERT_TRUE(flights.exportFlight(id, library::ExportFormat::Tev, out / "f.tev").ok());
    data::DataSetStore back;
    ASSERT_TRUE(back.loadSetFile(out / "f.tev"));
    EXPECT_EQ(back.comment(0), "Main at 150 m");

    ASSERT_TRUE(flights.exportFlight(id, library::ExportFormat::Csv, out / "f.csv").ok());
    ASSERT_TRUE(flights.exportFlight(id, library::ExportFormat::Xml, out / "f.xml").ok());
    ASSERT_TRUE(back.exportCsv(out / "direct.csv", 0));
    ASSERT_TRUE(back.exportXml(out / "direct.xml", 0));
    EXPECT_EQ(readAll(out / "f.csv"), readAll(out / "direct.csv"));
    EXPECT_EQ(readAll(out / "f.xml"), readAll(out / "direct.xml"));
    EXPECT_NE(readAll(out / "f.xml").find("Main at 150 m"), std::string::npos);

    const auto over =
        flights.exportFlight(id, library::ExportFormat::Tev, dir / record.archivePath);
    EXPECT_FALSE(over.ok());
    EXPECT_EQ(readAll(dir / record.archivePath), archived);
    EXPECT_EQ(flights.exportFlight(77, library::ExportFormat::Csv, out / "x.csv").status,
              LibraryStatus::NotFound);
}

TEST(LibraryArchive, OpenAddsOrphanFilesAndFinishesAnInterruptedDelete) {
    tevusb::testing::LogCapture quiet;
    TempDir first;
    std::vector<library::FlightRecord> original;
    {
        FlightLibrary flights(first.path());
        ASSERT_TRUE(flights.open().ok());
        archiveOk(flights, simulatedDownload(3));
        original = flights.list();
    }
    // Archive files without any index: the names alone restore date, set and firmware.
    TempDir second;
    std::filesystem::copy(first / "flights", second / "flights",
                          std::filesystem::copy_options::recursive);
    FlightLibrary flights(second.path());
    const auto opened = flights.open();
    ASSERT_TRUE(opened.ok()) << opened.message;
    EXPECT_EQ(opened.message, "Added 3 flights whose archive file had no index entry.");
    const auto found = flights.list();
    ASSERT_EQ(found.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(found[i].hash, original[i].hash);
        EXPECT_EQ(found[i].downloadedAt, original[i].downloadedAt);
        EXPECT_EQ(found[i].setNumber, original[i].setNumber);
        EXPECT_EQ(found[i].firmwareVersion, "1.50");
        EXPECT_EQ(found[i].apogeeAglM, original[i].apogeeAglM);
    }

    // A delete that moved the file but died before its commit is finished on open.
    const auto moved = found[0].archivePath;
    std::filesystem::create_directories((second / "deleted" / moved).parent_path());
    std::filesystem::rename(second / moved, second / "deleted" / moved);
    // A link loop inside the archive is not followed.
    std::filesystem::create_directory_symlink(second / "flights", second / "flights" / "loop");
    FlightLibrary reopened(second.path());
    ASSERT_TRUE(reopened.open().ok());
    EXPECT_EQ(reopened.list().size(), 2u);
    EXPECT_FALSE(reopened.get(found[0].id));
}

TEST(LibraryArchive, ALibraryNamedRelativeToTheWorkingFolderIsCreatedThere) {
    TempDir dir;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    {
        library::FlightLibrary flights(std::filesystem::path("club") / "library");
        const library::Outcome opened = flights.open();
        EXPECT_TRUE(opened.ok()) << opened.message;
        for (const auto& item : flights.archiveDownload(simulatedDownload(2))) {
            EXPECT_TRUE(item.outcome.ok()) << item.outcome.message;
        }
        EXPECT_EQ(flights.list().size(), 2u);
    }
    std::filesystem::current_path(before);
    EXPECT_EQ(tevusb::testing::archiveFilesOf(dir / "club/library").size(), 2u);
}
