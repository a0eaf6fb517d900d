// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <map>

#include <random>

#include "data/data_set_store.h"
#include "data/set_file.h"
#include "library/flight_library.h"
#include "library_fixture.h"
#include "support/log_capture.h"

using namespace tevusb;
using library::FlightLibrary;
using library::LibraryStatus;
using tevusb::testing::readAll;
using tevusb::testing::TempDir;
using tevusb::testing::writeAll;

namespace {

const std::filesystem::path kCorpus = TEVUSB_SET_FILE_CORPUS;

std::string randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (auto& c : s) {
        c = static_cast<char>(rng() & 0xFF);
    }
    return s;
}

}  // namespace

TEST(LibraryImport, HostileFilesAreRefusedOneByOneAndTheRestGoesOn) {
    tevusb::testing::LogCapture quiet;
    TempDir in;
    std::filesystem::create_directories(in / "good/nested");
    std::filesystem::create_directories(in / "bad");
    std::filesystem::copy_file(kCorpus / "current.tev", in / "good/current.tev");
    std::filesystem::copy_file(kCorpus / "legacy.tev", in / "good/nested/legacy.TEV");
    const std::string current = readAll(kCorpus / "current.tev");
    ASSERT_GT(current.size(), 100u);

    writeAll(in / "bad/empty.tev", "");
    writeAll(in / "bad/random.tev", randomBytes(5000, 1));
    writeAll(in / "bad/truncated.tev", current.substr(0, data::set_file::kHeaderSize + 100));
    writeAll(in / "bad/magic-only.tev",
             std::string(data::set_file::kMagic.begin(), data::set_file::kMagic.end()));
    // A flipped byte inside the settings image breaks its checksum.
    const std::size_t packets =
        static_cast<unsigned char>(current[24]) | (static_cast<unsigned char>(current[25]) << 8);
    std::string flipped = current;
    flipped[data::set_file::kHeaderSize + packets * 64 + 3] ^= 0x5A;
    writeAll(in / "bad/flipped.tev", flipped);
    {
        // Far larger than any flight memory: refused without being read in.
        std::ofstream big(in / "bad/huge.tev", std::ios::binary);
        big.seekp((64 << 20) - 1);
        big.put('\0');
    }
    writeAll(in / "bad/ignored.txt", "not a .tev: folders only give .tev files");

    TempDir dir;
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    const auto results = flights.importPaths({in / "bad", in / "missing.tev", in / "good"});
    ASSERT_EQ(results.size(), 9u);
    std::size_t refused = 0, imported = 0;
    for (const auto& item : results) {
        const auto& o = item.outcome;
        if (o.ok()) {
            ++imported;
            continue;
        }
        ++refused;
        EXPECT_EQ(o.status, LibraryStatus::BadFile) << o.message;
        EXPECT_NE(o.message.find(item.file.string()), std::string::npos) << o.message;
        EXPECT_EQ(o.message.find('\n'), std::string::npos);
    }
    EXPECT_EQ(refused, 7u);
    EXPECT_EQ(imported, 2u);
    // Each refusal says what is wrong with its file, as the loader found it.
    const std::map<std::string, std::string> reasons = {{"empty.tev", "is empty"},
                                                        {"random.tev", "does not begin as one"},
                                                        {"truncated.tev", "is cut short"},
                                                        {"flipped.tev", "checksum"},
                                                        {"missing.tev", "missing.tev"}};
    for (const auto& item : results) {
        const auto reason = reasons.find(item.file.filename().string());
        if (reason != reasons.end()) {
            EXPECT_NE(item.outcome.message.find(reason->second), std::string::npos)
                << item.outcome.message;
        }
    }
    ASSERT_EQ(flights.list().size(), 2u);

    // Every archived copy is a current-version file, also the one from a legacy file.
    for (const auto& r : flights.list()) {
        data::DataSetStore back;
        std::uint16_t version = 0;
        ASSERT_TRUE(back.loadSetFile(dir / r.archivePath, &version));
        EXPECT_EQ(version, data::set_file::kWrittenVersion);
        EXPECT_TRUE(r.firmwareVersion.empty());
    }

    // Imported again, whatever the file is called: the flight is already there.
    std::filesystem::copy_file(kCorpus / "current.tev", in / "renamed.tev");
    const auto again = flights.importPaths({in / "renamed.tev"});
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].outcome.status, LibraryStatus::Duplicate);
    EXPECT_NE(again[0].outcome.message.find("already in the library as #"), std::string::npos)
        << again[0].outcome.message;
}

TEST(LibraryImport, ProgressIsReportedAndACancelStopsWhatIsLeft) {
    tevusb::testing::LogCapture quiet;
    TempDir in;
    const auto input = tevusb::testing::simulatedDownload(3);
    data::DataSetStore image;
    image.packets = input.packets;
    image.settings = input.settings;
    for (int k = 0; k < 3; ++k) {
        ASSERT_TRUE(image.saveSetFile(in / ("set" + std::to_string(k) + ".tev"), k));
    }
    TempDir dir;
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    std::vector<std::size_t> seen;
    const auto results = flights.importPaths({in.path()}, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, 3u);
        seen.push_back(done);
        return done < 2;
    });
    ASSERT_EQ(results.size(), 3u);
    EXPECT_TRUE(results[0].outcome.ok());
    EXPECT_TRUE(results[1].outcome.ok());
    EXPECT_EQ(results[2].outcome.status, LibraryStatus::Cancelled);
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(flights.list().size(), 2u);
}
