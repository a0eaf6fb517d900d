// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "data/data_set_store.h"
#include "library/archive_stage.h"
#include "library/flight_library.h"
#include "library_fixture.h"
#include "log_capture.h"

using namespace tevusb;
using library::ArchiveStage;
using library::FlightLibrary;
using library::LibraryStatus;
using tevusb::testing::archiveFilesOf;
using tevusb::testing::simulatedDownload;
using tevusb::testing::TempDir;

namespace {

// Every row names a readable archive file of its flight and every archive file has a
// row: nothing is half there.
void expectWhole(const std::filesystem::path& folder, std::size_t flightsExpected) {
    FlightLibrary flights(folder);
    const auto opened = flights.open();
    ASSERT_TRUE(opened.ok()) << opened.message;
    const auto rows = flights.list();
    EXPECT_EQ(rows.size(), flightsExpected);
    std::set<std::string> named;
    for (const auto& r : rows) {
        data::DataSetStore back;
        EXPECT_TRUE(back.loadSetFile(folder / r.archivePath)) << r.archivePath;
        named.insert(r.archivePath);
    }
    EXPECT_EQ(named, archiveFilesOf(folder));
    // Temporary files of the dead writer were cleared away.
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder / "flights")) {
        EXPECT_NE(e.path().filename().string().front(), '.') << e.path();
    }
}

int integrityOf(const std::filesystem::path& index, std::string& result) {
    sqlite3* db = nullptr;
    sqlite3_open(index.c_str(), &db);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr);
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW) {
        result = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return rc;
}

}  // namespace

TEST(LibraryCrash, AKillAtAnyStageOfArchivingLeavesEveryFlightWholeOrAbsent) {
    const ArchiveStage stages[] = {ArchiveStage::TempWritten, ArchiveStage::FilePlaced,
                                   ArchiveStage::FolderSynced, ArchiveStage::RowInserted,
                                   ArchiveStage::Committed};
    const auto input = simulatedDownload(3);
    for (const auto stage : stages) {
        SCOPED_TRACE(static_cast<int>(stage));
        TempDir dir;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            tevusb::testing::LogCapture quiet;
            library::setArchiveStageHook([stage](ArchiveStage reached) {
                if (reached == stage) {
                    ::kill(::getpid(), SIGKILL);
                }
            });
            FlightLibrary flights(dir.path());
            flights.open();
            flights.archiveDownload(input);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        tevusb::testing::LogCapture quiet;
        // Killed in the first set: before its file had its name nothing is there, after
        // it the first flight is (its row, or its orphan picked up now).
        const std::size_t expected = stage == ArchiveStage::TempWritten ? 0 : 1;
        expectWhole(dir.path(), expected);
        std::string integrity;
        ASSERT_EQ(integrityOf(dir / "index.sqlite", integrity), SQLITE_ROW);
        EXPECT_EQ(integrity, "ok");

        // The download done again completes the library without a second copy.
        FlightLibrary flights(dir.path());
        ASSERT_TRUE(flights.open().ok());
        const auto again = flights.archiveDownload(input);
        EXPECT_EQ(again[0].outcome.status,
                  expected == 1 ? LibraryStatus::Duplicate : LibraryStatus::Ok);
        expectWhole(dir.path(), 3);
    }
}

TEST(LibraryCrash, AFullDiskFailsClearlyAndLeavesTheEarlierLibraryAsItWas) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    ASSERT_TRUE(flights.archiveDownload(simulatedDownload(1))[0].outcome.ok());
    const auto before = flights.list();
    const auto filesBefore = archiveFilesOf(dir.path());

    const auto input = simulatedDownload(3, 1);
    const auto copy = input.packets;
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit tiny = old;
    tiny.rlim_cur = 200;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const auto results = flights.archiveDownload(input);
    setrlimit(RLIMIT_FSIZE, &old);

    ASSERT_EQ(results.size(), 3u);
    for (const auto& item : results) {
        EXPECT_EQ(item.outcome.status, LibraryStatus::WriteFailed);
        EXPECT_NE(item.outcome.message.find("File too large"), std::string::npos)
            << item.outcome.message;
    }
    EXPECT_EQ(input.packets.size(), copy.size());
    EXPECT_EQ(archiveFilesOf(dir.path()), filesBefore);
    const auto after = flights.list();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[0].hash, before[0].hash);
    expectWhole(dir.path(), 1);
    // With room again the same download goes in.
    for (const auto& item : flights.archiveDownload(input)) {
        EXPECT_TRUE(item.outcome.ok()) << item.outcome.message;
    }
}

TEST(LibraryCrash, AFullDiskUnderTheIndexKeepsTheFileAndTheNextOpenAddsIt) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    ASSERT_TRUE(flights.archiveDownload(simulatedDownload(1))[0].outcome.ok());

    // Room for the small archive files, none for the index's log, which is already longer.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    limit.rlim_cur = 4000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const auto results = flights.archiveDownload(simulatedDownload(3, 5));
    setrlimit(RLIMIT_FSIZE, &old);

    ASSERT_EQ(results.size(), 3u);
    for (const auto& item : results) {
        EXPECT_FALSE(item.outcome.ok());
        EXPECT_NE(item.outcome.message.find("is added when the library is next opened"),
                  std::string::npos)
            << item.outcome.message;
    }
    EXPECT_EQ(flights.list().size(), 1u);
    EXPECT_EQ(archiveFilesOf(dir.path()).size(), 4u);
    FlightLibrary reopened(dir.path());
    EXPECT_EQ(reopened.open().message, "Added 3 flights whose archive file had no index entry.");
    expectWhole(dir.path(), 4);
}

TEST(LibraryCrash, AnUnwritableLibraryFolderFailsWithTheReasonAndChangesNothing) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    {
        FlightLibrary flights(dir.path());
        ASSERT_TRUE(flights.open().ok());
    }
    // Something that is not a folder where the archive goes (this holds also for root,
    // whom permissions do not stop).
    tevusb::testing::writeAll(dir / "flights", "in the way");
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    const auto results = flights.archiveDownload(simulatedDownload(2));
    ASSERT_EQ(results.size(), 2u);
    for (const auto& item : results) {
        EXPECT_EQ(item.outcome.status, LibraryStatus::WriteFailed);
        EXPECT_NE(item.outcome.message.find(dir.path().string()), std::string::npos)
            << item.outcome.message;
    }
    EXPECT_TRUE(flights.list().empty());
}

TEST(LibraryCrash, AReadOnlyLibraryFolderFailsWithTheReason) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "read-only folders do not stop root";
    }
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    const auto refused = flights.archiveDownload(simulatedDownload(1));
    ::chmod(dir.path().c_str(), 0755);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].outcome.status, LibraryStatus::WriteFailed);
    EXPECT_NE(refused[0].outcome.message.find("Permission denied"), std::string::npos)
        << refused[0].outcome.message;
    EXPECT_TRUE(flights.list().empty());
}
