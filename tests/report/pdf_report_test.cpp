// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "analysis/flight_statistics.h"
#include "analysis/units.h"
#include "report/pdf_report.h"
#include "report/report_builder.h"
#include "report/report_printer.h"
#include "report_test_support.h"

namespace tevusb::report {
namespace {

using testing::pdfInfo;
using testing::pdfText;

struct PdfReportTest : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        testing::loadSample(store);
    }
    ReportContent content(analysis::UnitSystem units = analysis::UnitSystem::Metric) const {
        ReportRequest request;
        request.graph.units = units;
        request.source = "sample-flight.tev";
        request.flight = FlightFields{"Little Dog", "H128W", "Ardrossan", "2026-06-12"};
        return buildReportContent(store.current, store.settings, store.comment(0), request);
    }
    QString write(const ReportContent& c, const char* name = "report.pdf") const {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_EQ(writePdfReport(path.toStdString(), c), "");
        return path;
    }
    static QString apogeeText(const data::DataSet& set, analysis::UnitSystem units) {
        const analysis::FlightStatistics stats = analysis::computeStatistics(set);
        EXPECT_TRUE(stats.apogee.has_value());
        return QString::fromStdString(analysis::formatAltitude(stats.apogee->aglM, units));
    }
    QTemporaryDir dir;
    data::DataSetStore store;
};

TEST_F(PdfReportTest, OneA4PageWithStatisticsSettingsCommentAndFlightFields) {
    const QString path = write(content());
    const QString info = pdfInfo(path);
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();

    const QString text = pdfText(path);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_TRUE(text.contains(QStringLiteral("TEV USB 1.50"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Data set 1")));
    EXPECT_TRUE(text.contains(apogeeText(store.current, analysis::UnitSystem::Metric)))
        << text.toStdString();
    // The sample was recorded with Line A at apogee and Line B at 150 m.
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Line A\\s+Apogee"))))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Line B\\s+Altitude 150 m"))));
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Inhibit time\\s+\\d+\\.\\d s"))));
    EXPECT_TRUE(text.contains(QString::fromStdString(store.comment(0))));
    EXPECT_TRUE(text.contains(QStringLiteral("Little Dog")));
    EXPECT_TRUE(text.contains(QStringLiteral("H128W")));
    EXPECT_TRUE(text.contains(QStringLiteral("sample-flight.tev")));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 1 of 1")));
}

TEST_F(PdfReportTest, ImperialUnitsReachTheTablesAndTheSettings) {
    const QString text = pdfText(write(content(analysis::UnitSystem::Imperial)));
    EXPECT_TRUE(text.contains(apogeeText(store.current, analysis::UnitSystem::Imperial)))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("492 ft (150 m)"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("imperial units")));
}

// Whatever is in the file, the report stays one page and says when it had to shorten.
TEST_F(PdfReportTest, LongCommentsAndEmptySetsStayOnOnePage) {
    ReportContent c = content();
    c.comment.clear();
    for (int i = 0; i < 120; ++i) {
        c.comment += "word" + std::to_string(i) + " ";
    }
    const QString longPath = write(c, "long.pdf");
    const QString text = pdfText(longPath);
    EXPECT_TRUE(text.contains(QStringLiteral("word0 word1")));
    EXPECT_TRUE(text.contains(QStringLiteral("\u2026")));
    EXPECT_FALSE(text.contains(QStringLiteral("word119")));
    EXPECT_TRUE(pdfInfo(longPath).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));

    const ReportContent empty = buildReportContent(data::DataSet{}, store.settings, "", {});
    const QString emptyPath = write(empty, "empty.pdf");
    EXPECT_TRUE(pdfInfo(emptyPath).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    EXPECT_TRUE(pdfText(emptyPath).contains(QStringLiteral("(none)")));
}

TEST_F(PdfReportTest, PrintingPutsTheSamePageOnThePrinter) {
    QPrinter printer(QPrinter::HighResolution);
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    ASSERT_TRUE(printReport(printer, content()));
    EXPECT_TRUE(pdfInfo(path).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    const QString printed = pdfText(path);
    const QString exported = pdfText(write(content()));
    // The footer carries the minute it was made; everything else is the same text.
    const auto body = [](QString t) {
        return t.remove(QRegularExpression(QStringLiteral("Generated [^\\n]*")));
    };
    EXPECT_EQ(body(printed), body(exported));
    EXPECT_TRUE(printed.contains(apogeeText(store.current, analysis::UnitSystem::Metric)));
}

}  // namespace
}  // namespace tevusb::report
