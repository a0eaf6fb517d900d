// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>

#include "cli/file_commands.h"
#include "cli/global_options.h"
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

// A global option is read in order: before the command, or after it where it is not the
// value of the command's option before it.
TEST(GlobalOptions, AnOptionsValueIsNeverTakenForAFlag) {
    using tevusb::cli::parseGlobalOptions;
    using Words = std::vector<std::string>;

    auto g = parseGlobalOptions({"report", "f.tev", "--rocket", "--simulator", "--comment",
                                 "--verbose", "--pdf", "--library", "--site", "--help"});
    EXPECT_FALSE(g.simulator || g.verbose || g.library || g.help);
    EXPECT_EQ(g.command, "report");
    EXPECT_EQ(g.words, (Words{"f.tev", "--rocket", "--simulator", "--comment", "--verbose", "--pdf",
                              "--library", "--site", "--help"}));
    EXPECT_TRUE(g.error.empty());

    g = parseGlobalOptions({"library", "edit", "3", "--comment", "--simulator-bootloader"});
    EXPECT_FALSE(g.simulatorBootloader);
    EXPECT_EQ(g.words, (Words{"edit", "3", "--comment", "--simulator-bootloader"}));

    // The folder is the word after --library, whatever it looks like.
    g = parseGlobalOptions({"--library", "--simulator", "library", "list"});
    EXPECT_EQ(g.library, "--simulator");
    EXPECT_FALSE(g.simulator);
    EXPECT_EQ(g.words, Words{"list"});
}

TEST(GlobalOptions, EveryPlaceThatWorkedBeforeStillWorks) {
    using tevusb::cli::parseGlobalOptions;
    using Words = std::vector<std::string>;

    auto g = parseGlobalOptions(
        {"--verbose", "--library=/f", "--simulator", "download", "--out", "d", "--csv"});
    EXPECT_TRUE(g.verbose && g.simulator);
    EXPECT_EQ(g.library, "/f");
    EXPECT_EQ(g.command, "download");
    EXPECT_EQ(g.words, (Words{"--out", "d", "--csv"}));

    // After the command: behind a flag of its own, an option's value or the one-word form.
    g = parseGlobalOptions(
        {"download", "--csv", "--simulator", "--out", "d", "--verbose", "--library", "lib"});
    EXPECT_TRUE(g.simulator && g.verbose);
    EXPECT_EQ(g.library, "lib");
    EXPECT_EQ(g.words, (Words{"--csv", "--out", "d"}));
    g = parseGlobalOptions({"clear", "--yes", "--simulator-bootloader"});
    EXPECT_TRUE(g.simulatorBootloader);
    EXPECT_EQ(g.words, Words{"--yes"});
    g = parseGlobalOptions({"report", "f.tev", "--rocket=--x", "--simulator", "--pdf", "o.pdf"});
    EXPECT_TRUE(g.simulator);
    EXPECT_EQ(g.words, (Words{"f.tev", "--rocket=--x", "--pdf", "o.pdf"}));
    // A valued option at the very end keeps its missing value for the command to report.
    g = parseGlobalOptions({"show", "f.tev", "--units"});
    EXPECT_EQ(g.words, (Words{"f.tev", "--units"}));

    EXPECT_TRUE(parseGlobalOptions({"show", "f.tev", "--help"}).help);
    EXPECT_TRUE(parseGlobalOptions({"--version"}).version);
    EXPECT_FALSE(parseGlobalOptions({}).command);
}

TEST(GlobalOptions, ErrorsNameTheWord) {
    using tevusb::cli::parseGlobalOptions;
    EXPECT_EQ(parseGlobalOptions({"--library"}).error, "--library needs a folder.");
    EXPECT_EQ(parseGlobalOptions({"list", "--library"}).error, "--library needs a folder.");
    const auto g = parseGlobalOptions({"--json", "stats", "f.tev"});
    EXPECT_EQ(g.error, "Unknown option: --json");
    // An option of the command after its word is the command's to judge.
    EXPECT_TRUE(parseGlobalOptions({"stats", "--json", "f.tev"}).error.empty());
}

TEST(CliShow, DescribesTheFile) {
    TempDir dir;
    const auto file = writeFlight(dir);
    const CliRun r = run(tevusb::cli::runShow, {file.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line : {"Format version: 0x0110\n", "Packets: 1\n", "Readings: 4\n",
                             "Sets: 1\n", "Line A: Time 1.5 s\n", "Line B: Altitude 150 m\n",
                             "Inhibit time: 2.0 s\n", "ADC offset: 0\n", "Comment: club launch\n",
                             "Apogee", "511.", " m (", ") at 0.2 s into the recording\n"}) {
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
    EXPECT_EQ(r.err, "Could not load file. Make sure the file is valid and not locked.\n" +
                         (dir / "bad.tev").string() +
                         " is not a data-set file (.tev): it does not begin as one.\n");
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
    const std::string missing = (dir / "missing.tev").string();
    const CliRun unread = run(tevusb::cli::runExport, {missing, "--csv", out});
    EXPECT_EQ(unread.status, 1);
    EXPECT_EQ(unread.err, "Could not load file. Make sure the file is valid and not locked.\n" +
                              missing + " does not exist.\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}
