// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "cli/device_commands.h"
#include "cli/file_commands.h"
#include "cli/library_commands.h"
#include "cli/library_option.h"
#include "cli/library_text.h"
#include "device/altimeter_device.h"
#include "device/sim/sim_backend.h"
#include "library_fixture.h"
#include "support/cli_run.h"
#include "support/log_capture.h"

using namespace tevusb;
using tevusb::testing::readAll;
using tevusb::testing::TempDir;

namespace {

using tevusb::testing::CliRun;
using tevusb::testing::has;

class LibraryCli : public ::testing::Test {
  protected:
    void SetUp() override {
        cli::setLibraryOption(m_library.path().string());
        device::sim::SimConfig config;
        config.timing = device::sim::SimTiming::instant();
        auto backend = std::make_shared<device::sim::SimBackend>(config);
        device::setDeviceBackendFactory([backend] { return backend; });
    }
    void TearDown() override {
        device::theDevice().disconnect();
        device::setDeviceBackendFactory(nullptr);
        cli::setLibraryOption(std::nullopt);
    }

    CliRun run(tevusb::testing::CliCommand command, std::vector<std::string> words) {
        CliRun result = tevusb::testing::runCli(command, std::move(words));
        device::theDevice().disconnect();
        return result;
    }
    CliRun library(std::vector<std::string> words) {
        return run(cli::runLibrary, std::move(words));
    }

    nlohmann::json listJson() {
        const CliRun r = library({"list", "--json"});
        EXPECT_EQ(r.status, 0) << r.err;
        return nlohmann::json::parse(r.out);
    }

    TempDir m_library;
};

// Runs in `folder` as the current directory, and goes back afterwards.
class InFolder {
  public:
    explicit InFolder(const std::filesystem::path& folder)
        : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(m_previous); }

  private:
    std::filesystem::path m_previous;
};

}  // namespace

TEST_F(LibraryCli, DownloadArchivesEveryFlightAndListJsonReadsBack) {
    TempDir cwd;
    InFolder here(cwd.path());
    const CliRun first = run(cli::runDownload, {});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_TRUE(has(first.out, "Archived set 1 as library flight #1\n"));
    EXPECT_TRUE(has(first.out, "Archived set 3 as library flight #3\n"));
    EXPECT_TRUE(std::filesystem::is_empty(cwd.path()));

    const CliRun second = run(cli::runDownload, {});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_TRUE(has(second.out, "Set 2 is already in the library as #2\n"));

    const auto flights = listJson();
    ASSERT_TRUE(flights.is_array());
    ASSERT_EQ(flights.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& f = flights[i];
        EXPECT_EQ(f["id"].get<int>(), static_cast<int>(i + 1));
        EXPECT_EQ(f["set"].get<int>(), static_cast<int>(i + 1));
        EXPECT_EQ(f["firmware_version"], "1.50");
        EXPECT_GT(f["readings"].get<int>(), 20);
        EXPECT_GT(f["apogee_agl_m"].get<double>(), 10.0);
        EXPECT_EQ(f["downloaded_at"].get<std::string>().size(), 20u);
        for (const char* key : {"comment", "rocket", "motor", "site"}) {
            EXPECT_TRUE(f[key].is_string()) << key;
        }
    }
}

TEST_F(LibraryCli, DownloadWithOutNeverReplacesAFileAndArchivesToo) {
    TempDir out;
    tevusb::testing::writeAll(out / "set2.csv", "mine");
    const CliRun first = run(cli::runDownload, {"--out", out.path().string(), "--csv"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_TRUE(has(first.out, "Saved " + (out / "set1.tev").string() + "\n"));
    // set2.csv was there, so set 2 moves to the next free name, its table beside it.
    EXPECT_TRUE(has(first.out, "Saved " + (out / "set2-2.tev").string() + "\n"));
    EXPECT_TRUE(has(first.out, "Saved " + (out / "set2-2.csv").string() + "\n"));
    EXPECT_EQ(readAll(out / "set2.csv"), "mine");
    EXPECT_TRUE(has(first.out, "Archived set 3 as library flight #3\n"));

    const std::string set1 = readAll(out / "set1.tev");
    const CliRun second = run(cli::runDownload, {"--out", out.path().string()});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_TRUE(has(second.out, "Saved " + (out / "set1-2.tev").string() + "\n"));
    // Without --csv only the .tev name has to be free.
    EXPECT_TRUE(has(second.out, "Saved " + (out / "set2.tev").string() + "\n"));
    EXPECT_EQ(readAll(out / "set1.tev"), set1);
    EXPECT_EQ(readAll(out / "set1-2.tev"), set1);
    EXPECT_EQ(listJson().size(), 3u);
}

TEST_F(LibraryCli, AnUnwritableLibraryNeverLosesTheDownload) {
    const auto blocked = m_library / "not-a-folder";
    tevusb::testing::writeAll(blocked, "x");
    cli::setLibraryOption(blocked.string());

    TempDir out;
    const CliRun withOut = run(cli::runDownload, {"--out", out.path().string()});
    EXPECT_EQ(withOut.status, 0);
    EXPECT_TRUE(has(withOut.err, "The flight library could not be written: ")) << withOut.err;
    EXPECT_TRUE(std::filesystem::exists(out / "set3.tev"));

    TempDir cwd;
    InFolder here(cwd.path());
    const CliRun without = run(cli::runDownload, {});
    EXPECT_EQ(without.status, 1);
    EXPECT_TRUE(has(without.err, "current folder")) << without.err;
    for (int k = 1; k <= 3; ++k) {
        data::DataSetStore saved;
        tevusb::testing::LogCapture quiet;
        EXPECT_TRUE(saved.loadSetFile(cwd / ("set" + std::to_string(k) + ".tev"))) << k;
    }
}

TEST_F(LibraryCli, EditShowFilterExportAndImport) {
    ASSERT_EQ(run(cli::runDownload, {}).status, 0);
    const CliRun edited =
        library({"edit", "2", "--rocket", "Ariel", "--motor", "H128W", "--comment", "nominal"});
    ASSERT_EQ(edited.status, 0) << edited.err;
    const CliRun shown = library({"show", "#2"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_TRUE(has(shown.out, "Rocket: Ariel\n"));
    // Named as the library names it: rocket / motor, day, its set in the download.
    ASSERT_EQ(library({"edit", "2", "--date", "2026-12-06"}).status, 0);
    EXPECT_TRUE(has(library({"show", "2"}).out, "Flight #2: Ariel / H128W, 2026-12-06, set 2\n"));
    const CliRun badDate = library({"edit", "2", "--date", "6/12/26"});
    EXPECT_EQ(badDate.status, 1);
    EXPECT_TRUE(has(badDate.err, "6/12/26")) << badDate.err;
    EXPECT_EQ(listJson()[1]["name"], "Ariel / H128W, 2026-12-06, set 2");
    EXPECT_TRUE(has(shown.out, "Firmware version: 1.50\n"));
    EXPECT_TRUE(has(shown.out, " m above ground"));
    const CliRun imperial = library({"show", "2", "--units", "imperial"});
    ASSERT_EQ(imperial.status, 0) << imperial.err;
    EXPECT_TRUE(has(imperial.out, " ft above ground")) << imperial.out;
    EXPECT_TRUE(has(imperial.out, " mph)")) << imperial.out;
    EXPECT_EQ(library({"list", "--units", "furlongs"}).status, 2);

    const CliRun filtered = library({"list", "--filter", "h128"});
    ASSERT_EQ(filtered.status, 0);
    EXPECT_TRUE(has(filtered.out, "Ariel"));
    EXPECT_TRUE(has(filtered.out, "1 flight\n"));

    TempDir out;
    ASSERT_EQ(library({"export", "2", "--csv", (out / "two.csv").string()}).status, 0);
    ASSERT_EQ(library({"export", "2", "--tev", (out / "two.tev").string()}).status, 0);
    const CliRun direct =
        run(cli::runExport, {(out / "two.tev").string(), "--csv", (out / "direct.csv").string()});
    ASSERT_EQ(direct.status, 0) << direct.err;
    EXPECT_EQ(readAll(out / "two.csv"), readAll(out / "direct.csv"));
    EXPECT_EQ(library({"export", "2", (out / "x").string()}).status, 2);
    EXPECT_EQ(library({"show", "12"}).status, 1);
    EXPECT_EQ(library({"edit", "zwei", "--site", "x"}).status, 2);

    // The exported file imported into a second library arrives with its comment.
    TempDir other;
    cli::setLibraryOption(other.path().string());
    const CliRun imported = library({"import", out.path().string()});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_TRUE(has(imported.out, "1 of 1 file imported.\n"));
    const auto flights = listJson();
    ASSERT_EQ(flights.size(), 1u);
    EXPECT_EQ(flights[0]["comment"], "nominal");
}

TEST_F(LibraryCli, ExportReplacesAFileOnlyWhenTheFlyerSaysSo) {
    ASSERT_EQ(run(cli::runDownload, {}).status, 0);
    TempDir out;
    const std::string target = (out / "two.csv").string();
    tevusb::testing::writeAll(target, "mine");
    // Off a terminal nobody can be asked, so the file stays.
    if (::isatty(STDIN_FILENO) == 0) {
        const CliRun kept = library({"export", "2", "--csv", target});
        EXPECT_EQ(kept.status, 1);
        EXPECT_TRUE(has(kept.err, target + " already exists. Replace it?")) << kept.err;
        EXPECT_EQ(readAll(target), "mine");
    }
    const CliRun replaced = library({"export", "2", "--csv", target, "--yes"});
    ASSERT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_EQ(replaced.out, "Saved " + target + "\n");
    EXPECT_NE(readAll(target), "mine");
    // A flight whose archive file is gone is named with its reason.
    const std::string archived = listJson()[0]["archive_path"];
    std::filesystem::remove(m_library.path() / archived);
    const CliRun gone = library({"export", "1", "--tev", (out / "gone.tev").string()});
    EXPECT_EQ(gone.status, 1);
    EXPECT_TRUE(has(gone.err, "is missing or unreadable.")) << gone.err;
}

TEST_F(LibraryCli, ExportIntoAFolderNamesTheFileAfterTheFlight) {
    ASSERT_EQ(run(cli::runDownload, {}).status, 0);
    ASSERT_EQ(
        library({"edit", "2", "--rocket", "Ariel", "--motor", "H128W", "--date", "2026-12-06"})
            .status,
        0);
    TempDir out;
    const std::filesystem::path named = out / "Ariel - H128W, 2026-12-06, set 2.csv";
    const CliRun first = library({"export", "2", "--csv", out.path().string()});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "Saved " + named.string() + "\n");
    EXPECT_GT(readAll(named).size(), 100u);
    // The same name again is a file the flyer has: replaced only when they say so.
    tevusb::testing::writeAll(named, "mine");
    const CliRun again = library({"export", "2", "--csv", out.path().string(), "--yes"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(readAll(named), "mine");
    // An unknown flight is said as before, folder or not.
    EXPECT_EQ(library({"export", "99", "--csv", out.path().string()}).status, 1);
}

TEST_F(LibraryCli, ADamagedIndexFailsInOneLineUntilRebuilt) {
    ASSERT_EQ(run(cli::runDownload, {}).status, 0);
    ASSERT_EQ(library({"edit", "3", "--site", "Kiwi Flats"}).status, 0);
    tevusb::testing::writeAll(m_library / "index.sqlite", std::string(4096, 'Z'));

    const CliRun broken = library({"list", "--json"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(broken.out.empty());
    EXPECT_EQ(std::count(broken.err.begin(), broken.err.end(), '\n'), 1) << broken.err;
    EXPECT_TRUE(has(broken.err, "damaged")) << broken.err;

    const CliRun rebuilt = library({"rebuild"});
    ASSERT_EQ(rebuilt.status, 0) << rebuilt.err;
    EXPECT_TRUE(has(rebuilt.out, "3 flights")) << rebuilt.out;
    const auto flights = listJson();
    ASSERT_EQ(flights.size(), 3u);
    EXPECT_EQ(flights[2]["set"], 3);
}

namespace {

// The local zone for one test (POSIX zone strings need no time zone database); the earlier
// one comes back afterwards.
struct LocalZone {
    explicit LocalZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            previous = old;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~LocalZone() {
        previous ? ::setenv("TZ", previous->c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
    }
    std::optional<std::string> previous;
};

}  // namespace

TEST(LibraryDate, DownloadTimesReadInTheLocalZone) {
    LocalZone berlin("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(cli::localDownloadDate("2026-12-08T07:35:28Z"), "2026-12-08 08:35");
    // Summer time, and past midnight into the next day (and year).
    EXPECT_EQ(cli::localDownloadDate("2026-07-01T22:30:00Z"), "2026-07-02 00:30");
    EXPECT_EQ(cli::localDownloadDate("2026-12-31T23:15:00Z"), "2027-01-01 00:15");
    // Anything else is shown as it is stored.
    for (const char* text : {"", "yesterday", "2026-12-08T07:35:28", "2026-12-08T07:35:28Zjunk",
                             "2026-02-30T10:00:00Z", "2026-12-08T24:00:00Z"}) {
        EXPECT_EQ(cli::localDownloadDate(text), text);
    }
}
