// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>

#include "cli/file_commands.h"
#include "data/data_set_store.h"
#include "packet_builder.h"
#include "support/cli_run.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

using tevusb::cli::CliArgs;
using tevusb::data::DataSetStore;
using tevusb::testing::makePacket;
using tevusb::testing::readAll;
using tevusb::testing::TempDir;

namespace {

using tevusb::testing::CliRun;

const auto run = tevusb::testing::runCli;

std::filesystem::path writeFlight(const TempDir& dir) {
    DataSetStore s;
    s.packets = {makePacket(2, {13384, 0x8000 | 13000, 12500, 12600})};
    s.comments = {"club launch"};
    s.settings.lineAMode = 1;
    s.settings.lineAValue = 15;
    s.settings.build();
    tevusb::testing::LogCapture quiet;
    s.saveSetFile(dir / "f.tev", 0);
    return dir / "f.tev";
}

}  // namespace

// The one-word form keeps any text, even an option's name; a longer option is no value.
TEST(CliArgs, TakesOptionValuesInEitherSpelling) {
    CliArgs args({"--rocket=--pdf", "--pdf", "out.pdf", "--site=", "--rocketry=x"});
    EXPECT_EQ(args.takeOption("--pdf"), "out.pdf");
    EXPECT_EQ(args.takeOption("--rocket"), "--pdf");
    EXPECT_EQ(args.takeOption("--site"), "");
    EXPECT_EQ(args.leftover(), "--rocketry=x");
}

TEST(CliShow, DescribesTheFile) {
    TempDir dir;
    const auto file = writeFlight(dir);
    const CliRun r = run(tevusb::cli::runShow, {file.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line :
         {"Format version: 0x0110\n", "Packets: 1\n", "Readings: 4\n", "Sets: 1\n",
          "Line A: Time 1.5 s\n", "Line B: Altitude 150 m\n", "Inhibit time: 2.0 s\n",
          "ADC offset: 0\n", "Comment: club launch\n", "Apogee", "511.", " m (", ") at 0.2 s\n"}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
    }
    // The peaks come once, from the statistics, in the units asked for.
    EXPECT_EQ(r.out.find("Peak altitude"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("km/h"), r.out.rfind("km/h")) << r.out;
}

TEST(CliShow, RejectsBadFilesWithTheProgramText) {
    TempDir dir;
    tevusb::testing::writeAll(dir / "bad.tev", "not a flight");
    const CliRun r = run(tevusb::cli::runShow, {(dir / "bad.tev").string()});
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.err, "Could not load file. Make sure the file is valid and not locked.\n");
    EXPECT_NE(run(tevusb::cli::runShow, {}).status, 0);
    EXPECT_NE(run(tevusb::cli::runShow, {"a", "b"}).status, 0);
}

TEST(CliExport, WritesWhatTheStoreWrites) {
    TempDir dir;
    const auto file = writeFlight(dir);
    ASSERT_EQ(
        run(tevusb::cli::runExport, {file.string(), "--csv", (dir / "a.csv").string()}).status, 0);
    ASSERT_EQ(
        run(tevusb::cli::runExport, {"--xml", (dir / "a.xml").string(), file.string()}).status, 0);

    DataSetStore s;
    tevusb::testing::LogCapture quiet;
    ASSERT_TRUE(s.loadSetFile(file));
    ASSERT_TRUE(s.exportCsv(dir / "b.csv", 0));
    ASSERT_TRUE(s.exportXml(dir / "b.xml", 0));
    EXPECT_EQ(readAll(dir / "a.csv"), readAll(dir / "b.csv"));
    EXPECT_EQ(readAll(dir / "a.xml"), readAll(dir / "b.xml"));
}

TEST(CliExport, ArgumentErrors) {
    TempDir dir;
    const auto file = writeFlight(dir);
    const std::string out = (dir / "o.csv").string();
    EXPECT_EQ(run(tevusb::cli::runExport, {file.string()}).status, 2);  // no format
    EXPECT_EQ(run(tevusb::cli::runExport, {file.string(), "--csv", out, "--xml", out}).status, 2);
    EXPECT_EQ(run(tevusb::cli::runExport, {file.string(), "--csv"}).status, 2);
    EXPECT_EQ(run(tevusb::cli::runExport, {file.string(), "--csv", out, "--set", "x"}).status, 2);
    EXPECT_EQ(run(tevusb::cli::runExport, {file.string(), "--csv", out, "--set", "-1"}).status, 2);
    EXPECT_EQ(run(tevusb::cli::runExport, {file.string(), "--csv", out, "--bogus"}).status, 2);
    const CliRun noSet = run(tevusb::cli::runExport, {file.string(), "--csv", out, "--set", "1"});
    EXPECT_EQ(noSet.status, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
    const CliRun unwritable =
        run(tevusb::cli::runExport, {file.string(), "--csv", (dir / "no" / "x.csv").string()});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("Error saving file."), std::string::npos);
}
