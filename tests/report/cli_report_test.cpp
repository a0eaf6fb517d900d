// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "cli/report/report_command.h"
#include "report/image_export.h"
#include "report_test_support.h"
#include "support/program_run.h"
#include "support/sim_files.h"

namespace tevusb::cli {
namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

// tevusb-cli as a user without any display starts it; in the local zone `zone` (a POSIX TZ
// string) when one is given.
CliRun runCli(const QStringList& arguments, const QString& zone = {}) {
    QProcessEnvironment env = testing::environmentWithoutDisplay();
    if (!zone.isEmpty()) {
        env.insert(QStringLiteral("TZ"), zone);
    }
    const testing::ProgramRun run =
        testing::runProgram(QStringLiteral(TEVUSB_CLI), arguments, env, 60000);
    return {run.status, QString::fromUtf8(run.out), QString::fromUtf8(run.err)};
}

struct CliReportTest : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
    const QString sample = QStringLiteral(TEVUSB_SAMPLE_FLIGHT);
};

TEST_F(CliReportTest, WritesReportAndPicturesWithoutADisplay) {
    if (!report::svgAvailable()) {
        // A build without SVG refuses the picture by name, before writing anything.
        const CliRun refused = runCli({"report", sample, "--svg", path("g.svg")});
        EXPECT_EQ(refused.status, 1);
        EXPECT_TRUE(refused.err.contains(QStringLiteral("g.svg"))) << refused.err.toStdString();
        EXPECT_FALSE(QFile::exists(path("g.svg")));
    }
    QStringList arguments{"report", sample, "--pdf", path("r.pdf"), "--png", path("g.png")};
    if (report::svgAvailable()) {
        arguments << "--svg" << path("g.svg");
    }
    const CliRun run = runCli(arguments + QStringList{"--size", "640x360", "--units", "imperial"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_EQ(run.out.count(QStringLiteral("Wrote ")), report::svgAvailable() ? 3 : 2)
        << run.out.toStdString();
    EXPECT_EQ(QImage(path("g.png")).size(), QSize(640, 360));
    const QString text = report::testing::pdfText(path("r.pdf"));
    EXPECT_TRUE(text.contains(QStringLiteral("Flight report"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(" ft"))) << text.toStdString();
    // A report is drawn with axes; a picture is the window's default view unless asked.
    EXPECT_TRUE(text.contains(QStringLiteral("Altitude (ft)"))) << text.toStdString();
    if (!report::svgAvailable()) {
        return;
    }
    QFile svg(path("g.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray svgBytes = svg.readAll();
    EXPECT_TRUE(svgBytes.contains("viewBox=\"0 0 640 360\""));
    EXPECT_FALSE(svgBytes.contains("Altitude (ft)"));

    const CliRun analysis = runCli(
        {"report", sample, "--svg", path("a.svg"), "--view", "analysis", "--units", "imperial"});
    ASSERT_EQ(analysis.status, 0) << analysis.err.toStdString();
    QFile analysisSvg(path("a.svg"));
    ASSERT_TRUE(analysisSvg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(analysisSvg.readAll().contains("Altitude (ft)"));
}

TEST_F(CliReportTest, EachMistakeIsOneLineAndNoFile) {
    struct Case {
        QStringList arguments;
        int status;
        int lines = 1;  // a file that cannot be loaded: the program's line and the reason
    };
    const QString out = path("out.pdf");
    const std::vector<Case> cases = {
        {{"report", path("missing.tev"), "--pdf", out}, 1, 2},
        {{"report", sample, "--set", "7", "--pdf", out}, 1},
        {{"report", sample, "--pdf", path("no/such/dir/out.pdf")}, 1},
        {{"report", sample, "--pdf", out, "--units", "furlongs"}, 2},
        {{"report", sample, "--png", out, "--size", "12x99999"}, 2},
        {{"report", sample, "--png", out, "--view", "sideways"}, 2},
        {{"report", sample, "--pdf", out, "--extra"}, 2},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), c.lines) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(out)) << c.arguments.join(' ').toStdString();
    }
    EXPECT_TRUE(runCli(cases.front().arguments)
                    .err.endsWith("\n" + path("missing.tev") + " does not exist.\n"));
    // No output named at all: the usage.
    const CliRun bare = runCli({"report", sample});
    EXPECT_EQ(bare.status, 2);
    EXPECT_TRUE(bare.err.startsWith(QStringLiteral("Usage: tevusb-cli report")))
        << bare.err.toStdString();
}

TEST_F(CliReportTest, FlightFieldsGoOnTheReportAndNotOnPictures) {
    const CliRun run = runCli({"report", sample, "--pdf", path("r.pdf"), "--png", path("g.png"),
                               "--rocket", "Big Bertha", "--site", "", "--date", "2026-12-08",
                               "--comment", "Main out at 150 m"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(QFile::exists(path("g.png")));
    const QString text = report::testing::pdfText(path("r.pdf"));
    for (const char* shown : {"Big Bertha", "2026-12-08", "Main out at 150 m"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown << "\n" << text.toStdString();
    }
    // Fields not given, or given empty, leave no row; --comment replaces the file's own.
    for (const char* absent : {"Motor", "Site", "Sample flight: H motor"}) {
        EXPECT_FALSE(text.contains(QString::fromUtf8(absent))) << absent;
    }
    EXPECT_EQ(runCli({"report", sample, sample, "--pdf", path("c.pdf"), "--motor", "H"}).status, 2);
}

TEST_F(CliReportTest, ASimulationGivesTheReportItsComparisonPage) {
    QFile csv(path("club.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write(QByteArray::fromStdString(tevusb::testing::openRocketCsv({})));
    csv.close();

    const CliRun run = runCli({"report", sample, "--pdf", path("r.pdf"), "--sim", path("club.csv"),
                               "--mass", "1.9", "--units", "imperial"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(
        report::testing::pdfInfo(path("r.pdf")).contains(QRegularExpression("Pages:\\s+2\\n")));
    const QString text = report::testing::pdfText(path("r.pdf")).simplified();
    EXPECT_TRUE(text.contains("Flight against simulation")) << text.toStdString();
    EXPECT_TRUE(text.contains("Simulation \"Club flight H128\" (club.csv)"));
    EXPECT_TRUE(text.contains("Club flight H128 (simulation)"));
    EXPECT_TRUE(text.contains(" ft")) << text.toStdString();

    // Each mistake is said on one line and writes nothing.
    const QString out = path("out.pdf");
    const std::vector<std::pair<QStringList, int>> mistakes = {
        {{"report", sample, "--pdf", out, "--sim", path("nosuch.csv")}, 1},
        {{"report", sample, "--pdf", out, "--sim", path("club.csv"), "--sim-name", "Other"}, 1},
        {{"report", sample, "--pdf", out, "--mass", "1.9"}, 2},
        {{"report", sample, "--pdf", out, "--sim-name", "Other"}, 2},
        {{"report", sample, sample, "--pdf", out, "--sim", path("club.csv")}, 2},
    };
    for (const auto& [arguments, status] : mistakes) {
        const CliRun refused = runCli(arguments);
        EXPECT_EQ(refused.status, status) << arguments.join(' ').toStdString();
        EXPECT_EQ(refused.err.count('\n'), 1) << refused.err.toStdString();
        EXPECT_FALSE(QFile::exists(out)) << arguments.join(' ').toStdString();
    }
    EXPECT_TRUE(runCli(mistakes.front().first).err.contains("nosuch.csv"));
}

TEST_F(CliReportTest, AFieldThatReadsLikeAGlobalOptionIsTheFieldsValue) {
    const CliRun run = runCli({"report", sample, "--pdf", path("r.pdf"), "--rocket", "--simulator",
                               "--comment", "--verbose"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();  // no diagnostic lines
    const QString text = report::testing::pdfText(path("r.pdf"));
    for (const char* shown : {"--simulator", "--verbose"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown << "\n" << text.toStdString();
    }
    // After the command's own options a global one still counts.
    const CliRun verbose = runCli({"report", sample, "--pdf", path("v.pdf"), "--verbose"});
    ASSERT_EQ(verbose.status, 0) << verbose.err.toStdString();
    EXPECT_FALSE(verbose.err.isEmpty());
}

// A library in a temporary folder with the sample flight as #1, its fields typed in since.
struct LibraryReportTest : CliReportTest {
    void SetUp() override {
        CliReportTest::SetUp();
        ASSERT_EQ(library({"import", sample}).status, 0);
        // A site that reads like one of the report program's options must still arrive as text.
        ASSERT_EQ(library({"edit", "1", "--rocket", "Big Bertha", "--motor", "H128W",
                           "--site=--units", "--comment", "Drogue late, main fine"})
                      .status,
                  0);
    }
    // Half an hour off any whole-hour zone, so the conversion cannot pass by accident.
    CliRun library(const QStringList& words) const {
        return runCli(QStringList{"--library", path("library"), "library"} + words,
                      QStringLiteral("<+0530>-5:30"));
    }
};

TEST_F(LibraryReportTest, ReportShowsWhatTheLibraryHoldsNow) {
    const CliRun run = library({"report", "1", "--pdf", path("r.pdf")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QString shown = library({"show", "1"}).out;
    const auto field = [&shown](const QString& name) {
        return QRegularExpression(QStringLiteral("^%1: (.*?)( above ground.*)?$").arg(name),
                                  QRegularExpression::MultilineOption)
            .match(shown)
            .captured(1);
    };
    const QString date = QDateTime::fromString(field("Downloaded"), Qt::ISODate)
                             .toOffsetFromUtc(5 * 3600 + 1800)
                             .toString(QStringLiteral("yyyy-MM-dd"));
    ASSERT_EQ(date.size(), 10) << shown.toStdString();
    const QString text = report::testing::pdfText(path("r.pdf"));
    for (const QString& part :
         {QStringLiteral("Big Bertha"), QStringLiteral("H128W"), QStringLiteral("--units"), date,
          field("Apogee"), QStringLiteral("Drogue late, main fine")}) {
        EXPECT_TRUE(!part.isEmpty() && text.contains(part)) << part.toStdString() << "\n"
                                                            << text.toStdString();
    }
    // The comment archived with the file was replaced by the edit.
    EXPECT_FALSE(text.contains(QStringLiteral("Sample flight: H motor"))) << text.toStdString();
}

TEST_F(LibraryReportTest, EachMistakeIsNamedAndNoFileWritten) {
    const QString out = path("out.pdf");
    const std::vector<std::tuple<QStringList, int, const char*>> cases = {
        {{"report", "9", "--pdf", out}, 1, "There is no flight #9 in the library.\n"},
        {{"report", "1", "--pdf", out, "--units", "furlongs"}, 2, "--units takes metric"},
        {{"report", "1"}, 2, "Usage: tevusb-cli"},
        {{"report", "1", "--pdf", out, "--set", "0"}, 2, "Usage: tevusb-cli"},
    };
    for (const auto& [words, status, message] : cases) {
        const CliRun run = library(words);
        EXPECT_EQ(run.status, status) << words.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(message))) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(out)) << words.join(' ').toStdString();
    }
}

TEST(CliReportSize, ParsesWidthByHeightOnly) {
    EXPECT_EQ(parseImageSize("1920x1080"), QSize(1920, 1080));
    EXPECT_EQ(parseImageSize("800X600"), QSize(800, 600));
    for (const char* bad : {"", "x", "1920", "1920x", "x1080", "-5x10", "10x-5", "0x10", "axb",
                            "10x10x10", "99999999999x1"}) {
        EXPECT_FALSE(parseImageSize(bad).has_value()) << bad;
    }
}

// The device commands stay free of Qt; only the report program pulls it in.
TEST(CliReportLinks, TevusbCliNeedsNoQt) {
#if defined(_WIN32)
    // The DLLs the program imports, read by the cross toolchain's objdump under Wine.
    const QString imports = report::testing::runTool(QStringLiteral(TEVUSB_OBJDUMP),
                                                     {"-p", QStringLiteral(TEVUSB_CLI)});
    ASSERT_TRUE(imports.contains(QStringLiteral("DLL Name"))) << imports.toStdString();
    EXPECT_FALSE(imports.contains(QStringLiteral("Qt6"))) << imports.toStdString();
#else
    const QString dynamic =
        report::testing::runTool(QStringLiteral("readelf"), {"-d", QStringLiteral(TEVUSB_CLI)});
    ASSERT_TRUE(dynamic.contains(QStringLiteral("NEEDED"))) << dynamic.toStdString();
    EXPECT_FALSE(dynamic.contains(QStringLiteral("libQt"))) << dynamic.toStdString();
#endif
}

}  // namespace
}  // namespace tevusb::cli
