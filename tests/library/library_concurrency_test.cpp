// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "library/flight_library.h"
#include "library_fixture.h"
#include "log_capture.h"

using namespace tevusb;
using library::FlightLibrary;
using library::LibraryStatus;
using tevusb::testing::archiveFilesOf;
using tevusb::testing::simulatedDownload;
using tevusb::testing::TempDir;

namespace {

// Runs `work` in `n` child processes at once; true when every child exited with 0.
bool inProcesses(int n, const std::function<int(int)>& work) {
    std::vector<pid_t> children;
    for (int i = 0; i < n; ++i) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::_exit(work(i));
        }
        children.push_back(pid);
    }
    bool ok = true;
    for (const pid_t pid : children) {
        int status = 0;
        ok = ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
             ok;
    }
    return ok;
}

}  // namespace

TEST(LibraryConcurrency, TwoProgramsArchivingAtOnceLoseNoRowAndAddNoCopy) {
    constexpr int kDownloads = 8;
    TempDir dir;
    {
        tevusb::testing::LogCapture quiet;
        FlightLibrary flights(dir.path());
        ASSERT_TRUE(flights.open().ok());
    }
    // Each writer archives its own downloads and, in between, the download both have.
    const bool ok = inProcesses(2, [&](int writer) {
        tevusb::testing::LogCapture quiet;
        FlightLibrary flights(dir.path());
        if (!flights.open().ok()) {
            return 3;
        }
        for (int d = 0; d < kDownloads; ++d) {
            for (const int variant : {1 + writer * kDownloads + d, 1000}) {
                for (const auto& item : flights.archiveDownload(simulatedDownload(3, variant))) {
                    const auto s = item.outcome.status;
                    if (s != LibraryStatus::Ok && s != LibraryStatus::Duplicate) {
                        return 4;
                    }
                }
            }
        }
        return 0;
    });
    ASSERT_TRUE(ok);

    tevusb::testing::LogCapture quiet;
    FlightLibrary flights(dir.path());
    const auto opened = flights.open();
    ASSERT_TRUE(opened.ok()) << opened.message;
    EXPECT_TRUE(opened.message.empty()) << opened.message;
    const auto rows = flights.list();
    EXPECT_EQ(rows.size(), static_cast<std::size_t>(3 * (2 * kDownloads + 1)));
    std::set<std::string> paths, hashes;
    for (const auto& r : rows) {
        paths.insert(r.archivePath);
        hashes.insert(r.hash);
    }
    EXPECT_EQ(hashes.size(), rows.size());
    EXPECT_EQ(paths, archiveFilesOf(dir.path()));
}

TEST(LibraryConcurrency, OneLibrarySharedByThreadsStaysConsistent) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    std::atomic<bool> done{false};
    std::atomic<int> failures{0};
    std::thread reader([&] {
        std::size_t last = 0;
        while (!done) {
            const auto rows = flights.list();
            // Rows only ever come in, and each arrives complete.
            if (rows.size() < last) {
                ++failures;
            }
            for (const auto& r : rows) {
                failures += r.hash.size() == 64 ? 0 : 1;
            }
            last = rows.size();
        }
    });
    std::thread writer([&] {
        for (int v = 1; v <= 6; ++v) {
            for (const auto& item : flights.archiveDownload(simulatedDownload(2, v))) {
                failures += item.outcome.ok() ? 0 : 1;
            }
        }
        done = true;
    });
    writer.join();
    reader.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(flights.list().size(), 12u);
}
