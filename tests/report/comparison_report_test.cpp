// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "analysis/units.h"
#include "graph/synthetic/synthetic_flight.h"
#include "report/comparison_report.h"
#include "report/report_printer.h"
#include "report_test_support.h"
#include "support/child_output.h"

namespace tevusb::report {
namespace {

using testing::pdfInfo;
using testing::pdfText;

struct ComparisonReportTest : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        for (const double apogee : {300.0, 800.0, 1234.0}) {
            synthetic::FlightProfile profile;
            profile.apogeeAgl = apogee;
            data::DataSetStore store;
            store.packets = synthetic::packWords(synthetic::flightWords(profile));
            const QString name = QStringLiteral("apogee%1.tev").arg(apogee);
            const QString path = dir.filePath(name);
            ASSERT_TRUE(store.saveSetFile(path.toStdString(), 0));
            files << path;
            ASSERT_TRUE(store.selectSet(0));
            graph::ComparedFlight flight;
            flight.name = name;
            flight.set = store.current;
            flight.statistics = analysis::computeStatistics(flight.set);
            apogees.push_back(flight.statistics.apogee->aglM);
            content.flights.push_back(std::move(flight));
        }
        content.generated = QDateTime::currentDateTimeUtc();
    }
    QTemporaryDir dir;
    QStringList files;
    std::vector<double> apogees;
    ComparisonContent content;
};

TEST_F(ComparisonReportTest, OneLandscapePageNamesEveryFlightWithItsApogeeAndDifference) {
    const QString path = dir.filePath(QStringLiteral("compare.pdf"));
    ASSERT_EQ(writeComparisonPdf(path.toStdString(), content), "");
    const QString info = pdfInfo(path);
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    EXPECT_TRUE(info.contains(QStringLiteral("842 x 595"))) << info.toStdString();
    const QString text = pdfText(path);
    for (std::size_t i = 0; i < content.flights.size(); ++i) {
        EXPECT_TRUE(text.contains(content.flights[i].name)) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromStdString(analysis::formatQuantity(
            analysis::Quantity::Altitude, apogees[i], analysis::UnitSystem::Metric, 1))))
            << i << text.toStdString();
    }
    // The third flight flew higher than the first: its difference is positive.
    const QString difference =
        QString::fromStdString("+" + analysis::formatNumber(apogees[2] - apogees[0], 1) + " m");
    EXPECT_TRUE(text.contains(difference)) << difference.toStdString() << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("lined up at launch")));
}

TEST_F(ComparisonReportTest, PrintsOnALandscapeSheet) {
    QPrinter printer(QPrinter::HighResolution);
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    ASSERT_TRUE(printComparison(printer, content));
    EXPECT_TRUE(pdfInfo(path).contains(QStringLiteral("842 x 595")));
    EXPECT_TRUE(pdfText(path).contains(content.flights[1].name));
}

TEST_F(ComparisonReportTest, CommandLineComparesSeveralFilesAndRefusesWhatItCannot) {
    const auto run = [](const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral(TEVUSB_CLI), arguments);
        process.waitForFinished(60000);
        return std::pair{
            process.exitCode(),
            QString::fromUtf8(tevusb::testing::withLfLineEnds(process.readAllStandardError()))};
    };
    const QString out = dir.filePath(QStringLiteral("cli.pdf"));
    auto [status, err] = run(QStringList{"report"} + files + QStringList{"--pdf", out});
    ASSERT_EQ(status, 0) << err.toStdString();
    EXPECT_TRUE(pdfText(out).contains(content.flights[2].name));
    QFile::remove(out);

    // Pictures are of one flight; a file that cannot be read fails the page, naming it.
    std::tie(status, err) = run(QStringList{"report"} + files + QStringList{"--png", out});
    EXPECT_EQ(status, 2);
    const QString missing = dir.filePath(QStringLiteral("missing.tev"));
    std::tie(status, err) = run(QStringList{"report"} + files + QStringList{missing, "--pdf", out});
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(err.startsWith(missing)) << err.toStdString();
    EXPECT_TRUE(err.endsWith("\n" + missing + " does not exist.\n")) << err.toStdString();
    EXPECT_EQ(err.count('\n'), 2);
    QStringList eleven;
    for (int i = 0; i < 11; ++i) {
        eleven << files[0];
    }
    std::tie(status, err) = run(QStringList{"report"} + eleven + QStringList{"--pdf", out});
    EXPECT_EQ(status, 2);
    EXPECT_FALSE(QFile::exists(out));
}

}  // namespace
}  // namespace tevusb::report
