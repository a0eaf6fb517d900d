// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include "data/data_set_store.h"
#include "data/set_file.h"
#include "packet_builder.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

using tevusb::data::DataSetStore;
using tevusb::testing::LogCapture;
using tevusb::testing::makePacket;
using tevusb::testing::readAll;
using tevusb::testing::TempDir;
using tevusb::testing::writeAll;

namespace {

DataSetStore twoSetStore() {
    DataSetStore s;
    s.packets = {makePacket(2, {13000, 12990}), makePacket(0, {12980, 0x8000 | 12970}),
                 makePacket(2, {12000, 11990})};
    s.comments = {"first flight", "second"};
    s.settings.adcOffset = -12;
    s.settings.build();
    return s;
}

void put16(std::string& bytes, std::size_t at, std::uint16_t v) {
    bytes[at] = static_cast<char>(v & 0xFF);
    bytes[at + 1] = static_cast<char>(v >> 8);
}

// A store whose state is easy to compare after a failed load.
struct Snapshot {
    std::vector<tevusb::data::MemoryPacket> packets;
    tevusb::settings::SettingsImage image;
    std::vector<std::string> comments;
    std::vector<int> counts;
    explicit Snapshot(const DataSetStore& s)
        : packets(s.packets),
          image(s.settings.image),
          comments(s.comments),
          counts(s.current.adcCounts) {}
    bool operator==(const Snapshot& o) const {
        return image == o.image && comments == o.comments && counts == o.counts &&
               packets.size() == o.packets.size() &&
               std::equal(packets.begin(), packets.end(), o.packets.begin(),
                          [](const auto& a, const auto& b) { return a.bytes == b.bytes; });
    }
};

}  // namespace

TEST(SetFile, SavedFileHasTheDocumentedLayout) {
    TempDir dir;
    DataSetStore s = twoSetStore();
    LogCapture log;
    ASSERT_TRUE(s.saveSetFile(dir / "a.tev", 0));
    const std::string bytes = readAll(dir / "a.tev");
    const std::size_t comment = std::string("first flight").size() + 1;
    ASSERT_EQ(bytes.size(), 47 + 64 * 2 + comment);
    EXPECT_EQ(
        bytes.substr(0, 16),
        std::string(reinterpret_cast<const char*>(tevusb::data::set_file::kMagic.data()), 16));
    EXPECT_EQ(bytes.substr(16, 10), std::string("\x10\x01\x20\x01\x50\x01\x50\x01\x02\x00", 10));
    EXPECT_EQ(static_cast<unsigned char>(bytes[26]), 2);
    EXPECT_EQ(bytes.substr(26 + 128, 17),
              std::string(reinterpret_cast<const char*>(s.settings.image.data()), 17));
    EXPECT_EQ(bytes.substr(43 + 128, 4), std::string("\x0d\x00\x00\x00", 4));
    EXPECT_EQ(bytes.substr(47 + 128), std::string("first flight\0", 13));
    for (const char* line : {"Selected set to save: 0", "Set address: 0", "Packet Count: 2",
                             "Successfully serialized settings.", "Comment: first flight"}) {
        EXPECT_TRUE(log.has(line)) << line;
    }
}

TEST(SetFile, SaveLoadSelectRoundTrip) {
    TempDir dir;
    DataSetStore s = twoSetStore();
    LogCapture quiet;
    s.selectSet(0);
    const auto expectedAltitude = s.current.smoothedAltitude;
    ASSERT_TRUE(s.saveSetFile(dir / "one.tev", 0));
    ASSERT_TRUE(s.saveSetFile(dir / "two.tev", 1));

    DataSetStore loaded;
    std::uint16_t version = 0;
    ASSERT_TRUE(loaded.loadSetFile(dir / "one.tev", &version));
    EXPECT_EQ(version, 0x0110);
    EXPECT_EQ(loaded.packets.size(), 2u);
    EXPECT_EQ(loaded.setCount(), 1);
    EXPECT_EQ(loaded.settings.image, s.settings.image);
    EXPECT_EQ(loaded.settings.adcOffset, -12);
    EXPECT_EQ(loaded.comments, (std::vector<std::string>{"first flight"}));
    loaded.selectSet(0);
    EXPECT_EQ(loaded.current.smoothedAltitude, expectedAltitude);
    EXPECT_EQ(loaded.current.lineFlags.back(), 2);

    ASSERT_TRUE(loaded.loadSetFile(dir / "two.tev"));
    EXPECT_EQ(loaded.comments, (std::vector<std::string>{"second"}));
    EXPECT_EQ(loaded.packets.size(), 1u);
}

TEST(SetFile, SetWithoutCommentSlotSavesEmptyComment) {
    TempDir dir;
    DataSetStore s = twoSetStore();
    s.comments.clear();
    LogCapture quiet;
    ASSERT_TRUE(s.saveSetFile(dir / "x.tev", 1));
    const std::string bytes = readAll(dir / "x.tev");
    EXPECT_EQ(bytes.size(), 47u + 64u + 1u);
    EXPECT_EQ(bytes.back(), '\0');
}

TEST(SetFile, VersionMatrix) {
    TempDir dir;
    DataSetStore s = twoSetStore();
    LogCapture quiet;
    ASSERT_TRUE(s.saveSetFile(dir / "base.tev", 0));
    const std::string base = readAll(dir / "base.tev");

    struct Case {
        std::uint16_t version;
        bool accepted;
    };
    for (Case c : {Case{0x0110, true}, Case{0x0115, true}, Case{0x011F, true}, Case{0x0120, false},
                   Case{0x00FF, false}, Case{0x0200, false}, Case{0x0000, false}}) {
        std::string bytes = base;
        put16(bytes, 16, c.version);
        put16(bytes, 18, 0xBEEF);  // the three values after the version mean nothing
        put16(bytes, 20, 0x0000);
        put16(bytes, 22, 0xFFFF);
        writeAll(dir / "v.tev", bytes);
        DataSetStore t;
        EXPECT_EQ(t.loadSetFile(dir / "v.tev"), c.accepted) << std::hex << c.version;
    }
}

TEST(SetFile, LegacyFilesAreReadWithConvertedSettings) {
    TempDir dir;
    std::string bytes(tevusb::data::set_file::kMagic.begin(), tevusb::data::set_file::kMagic.end());
    bytes += std::string("\x05\x01\x00\x00\x00\x00\x00\x00\x01\x00", 10);
    const auto packet = makePacket(2, {12000, 11000});
    bytes.append(reinterpret_cast<const char*>(packet.bytes.data()), 64);
    std::string legacy = {'\xE0', '\x03', '\xFF', '\x3C', '\x00', '\x14', '\x00', '\x50',
                          '\x10', '\x32', '\x96', '\x00', '\x96', '\x00', '\x12', '\x34'};
    bytes += legacy;
    writeAll(dir / "old.tev", bytes);

    DataSetStore s;
    s.comments = {"x", "y"};
    LogCapture log;
    std::uint16_t version = 0;
    ASSERT_TRUE(s.loadSetFile(dir / "old.tev", &version));
    EXPECT_EQ(version, 0x0105);
    EXPECT_EQ(s.settings.adcOffset, 256);
    EXPECT_EQ(s.settings.lineAMode, 2);
    EXPECT_EQ(s.settings.lineBMode, 3);
    EXPECT_EQ(s.comments, (std::vector<std::string>{""}));
    EXPECT_EQ(s.packets.size(), 1u);
    EXPECT_TRUE(log.has("Legacy import. Ver: 105"));
    EXPECT_TRUE(log.has("Successfully de-serialized."));
}

TEST(SetFile, DamagedFilesLeaveTheStoreUntouched) {
    TempDir dir;
    DataSetStore source = twoSetStore();
    LogCapture quiet;
    ASSERT_TRUE(source.saveSetFile(dir / "good.tev", 0));
    const std::string good = readAll(dir / "good.tev");

    std::vector<std::pair<std::string, std::string>> damaged;
    damaged.emplace_back("empty", "");
    damaged.emplace_back("magic only", good.substr(0, 16));
    std::string badMagic = good;
    badMagic[3] = 0;
    damaged.emplace_back("wrong magic", badMagic);
    damaged.emplace_back("cut in header", good.substr(0, 20));
    damaged.emplace_back("cut in packets", good.substr(0, 26 + 64 + 10));
    damaged.emplace_back("cut after packets", good.substr(0, 26 + 128));
    damaged.emplace_back("cut in settings", good.substr(0, 26 + 128 + 9));
    std::string badChecksum = good;
    badChecksum[26 + 128 + 5] ^= 0x40;
    damaged.emplace_back("bad checksum", badChecksum);
    std::string morePackets = good;
    put16(morePackets, 24, 60000);
    damaged.emplace_back("count beyond the file", morePackets);

    DataSetStore s = twoSetStore();
    s.selectSet(1);
    const Snapshot before(s);
    for (const auto& [name, bytes] : damaged) {
        writeAll(dir / "bad.tev", bytes);
        EXPECT_FALSE(s.loadSetFile(dir / "bad.tev")) << name;
        EXPECT_TRUE(Snapshot(s) == before) << name;
    }
    EXPECT_FALSE(s.loadSetFile(dir / "missing.tev"));
    EXPECT_FALSE(s.loadSetFile(dir.path()));
    EXPECT_TRUE(Snapshot(s) == before);
}

// Each way a file is refused gives its own kind and a line naming the file; files cut at
// every part of the layout, of another kind, or of a version from elsewhere.
TEST(SetFile, EachRefusalSaysWhy) {
    using Kind = tevusb::data::LoadError::Kind;
    TempDir dir;
    DataSetStore source = twoSetStore();
    LogCapture quiet;
    ASSERT_TRUE(source.saveSetFile(dir / "good.tev", 0));
    const std::string good = readAll(dir / "good.tev");
    std::string badMagic = good;
    badMagic[3] = 0;
    std::string newer = good;
    put16(newer, 16, 0x0120);
    std::string unknownOld = good;
    put16(unknownOld, 16, 0x00FF);
    std::string badChecksum = good;
    badChecksum[26 + 128 + 5] ^= 0x40;
    std::string morePackets = good;
    put16(morePackets, 24, 60000);
    // A legacy file carries 16 settings bytes, not 17: cut inside those.
    std::string legacy(tevusb::data::set_file::kMagic.begin(),
                       tevusb::data::set_file::kMagic.end());
    legacy += std::string("\x05\x01\x00\x00\x00\x00\x00\x00\x01\x00", 10);
    legacy.append(reinterpret_cast<const char*>(makePacket(2, {12000}).bytes.data()), 64);
    legacy += std::string(15, '\x01');

    struct Case {
        const char* name;
        std::string bytes;
        Kind kind;
        std::string reason;
    };
    const std::string cut = "is cut short: the file ends ";
    const std::vector<Case> cases = {
        {"empty", "", Kind::Truncated, "is empty"},
        {"part of the mark", good.substr(0, 10), Kind::Truncated, cut + "inside its header"},
        {"mark only", good.substr(0, 16), Kind::Truncated, cut + "inside its header"},
        {"cut in header", good.substr(0, 20), Kind::Truncated, cut + "inside its header"},
        {"short text", "not a flight", Kind::NotDataSetFile,
         "is not a data-set file (.tev): it does not begin as one"},
        {"wrong mark", badMagic, Kind::NotDataSetFile,
         "is not a data-set file (.tev): it does not begin as one"},
        {"newer version", newer, Kind::UnknownVersion,
         "has format version 0x0120, which this program does not read (it reads 0x0100 to "
         "0x011f)"},
        {"unknown old version", unknownOld, Kind::UnknownVersion,
         "has format version 0x00ff, which this program does not read (it reads 0x0100 to "
         "0x011f)"},
        {"cut in packets", good.substr(0, 26 + 64 + 10), Kind::Truncated,
         cut + "after 1 of its 2 packets"},
        {"count beyond the file", morePackets, Kind::Truncated,
         cut + "after 2 of its 60000 packets"},
        {"cut after packets", good.substr(0, 26 + 128), Kind::Truncated,
         cut + "before the altimeter settings"},
        {"cut in settings", good.substr(0, 26 + 128 + 9), Kind::Truncated,
         cut + "inside the altimeter settings"},
        {"legacy cut in settings", legacy, Kind::Truncated, cut + "inside the altimeter settings"},
        {"bad checksum", badChecksum, Kind::BadChecksum,
         "is damaged: the altimeter settings stored in it fail their checksum"},
    };
    const std::string bad = (dir / "bad.tev").string();
    for (const Case& c : cases) {
        writeAll(dir / "bad.tev", c.bytes);
        DataSetStore s;
        tevusb::data::LoadError error;
        EXPECT_FALSE(s.loadSetFile(bad, error)) << c.name;
        EXPECT_EQ(error.kind, c.kind) << c.name;
        EXPECT_EQ(error.message, bad + " " + c.reason + ".") << c.name;
    }

    DataSetStore s;
    tevusb::data::LoadError error;
    const std::string missing = (dir / "missing.tev").string();
    EXPECT_FALSE(s.loadSetFile(missing, error));
    EXPECT_EQ(error.kind, Kind::NotOpened);
    EXPECT_EQ(error.message, missing + " does not exist.");
    EXPECT_FALSE(s.loadSetFile(dir.path(), error));
    EXPECT_EQ(error.kind, Kind::NotOpened);
    EXPECT_EQ(error.message, dir.path().string() + " is a folder, not a data-set file.");

    // A good file after a refusal loads and says so.
    std::uint16_t version = 0;
    EXPECT_TRUE(s.loadSetFile(dir / "good.tev", error, &version));
    EXPECT_EQ(version, 0x0110);
    EXPECT_EQ(s.packets.size(), 2u);
}

TEST(SetFile, OddCommentLengthsAreBounded) {
    TempDir dir;
    DataSetStore source = twoSetStore();
    LogCapture quiet;
    ASSERT_TRUE(source.saveSetFile(dir / "good.tev", 0));
    const std::string good = readAll(dir / "good.tev");
    const std::size_t at = 43 + 128;

    struct Case {
        const char* name;
        std::string tail;
        std::string comment;
    };
    const std::vector<Case> cases = {
        {"length zero", std::string("\0\0\0\0abc", 7), ""},
        {"no length at all", "", ""},
        {"length beyond the file", std::string("\xff\xff\xff\x7fhello", 9), "hello"},
        {"no terminator",
         std::string("\x03\x00\x00\x00"
                     "abcdef",
                     10),
         "abc"},
        {"zero inside",
         std::string("\x06\x00\x00\x00"
                     "ab\0cd\0",
                     10),
         "ab"},
    };
    for (const auto& c : cases) {
        writeAll(dir / "c.tev", good.substr(0, at) + c.tail);
        DataSetStore s;
        ASSERT_TRUE(s.loadSetFile(dir / "c.tev")) << c.name;
        EXPECT_EQ(s.comments, std::vector<std::string>{c.comment}) << c.name;
    }
}

TEST(SetFile, WriteFailureIsReportedAndKeepsTheOldFile) {
    TempDir dir;
    DataSetStore s = twoSetStore();
    LogCapture quiet;
    ASSERT_TRUE(s.saveSetFile(dir / "keep.tev", 1));
    const std::string before = readAll(dir / "keep.tev");

    // A file-size limit makes the write fail part way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit tiny = old;
    tiny.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool saved = s.saveSetFile(dir / "keep.tev", 0);
    const bool exported = s.exportCsv(dir / "keep.tev", 0);
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_FALSE(saved);
    EXPECT_FALSE(exported);
    EXPECT_EQ(readAll(dir / "keep.tev"), before);
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1);
    EXPECT_FALSE(s.saveSetFile(dir / "no-such-dir" / "x.tev", 0));
    EXPECT_FALSE(s.saveSetFile(dir.path(), 0));
}
