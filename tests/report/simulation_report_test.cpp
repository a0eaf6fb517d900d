// SPDX-License-Identifier: MIT
// A report of a flight with a simulation drawn over it: a second page with both curves,
// the comparison table and the drag result, read back from the PDF as a reader sees it.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

#include "graph/simulation_overlay.h"
#include "report/pdf_report.h"
#include "report/report_builder.h"
#include "report_test_support.h"
#include "simulation/simulation_file.h"
#include "support/sim_files.h"

namespace tevusb::report {
namespace {

namespace tt = tevusb::testing;

TEST(SimulationReport, SecondPageComparesTheFlightWithItsSimulation) {
    QTemporaryDir dir;
    data::DataSetStore store;
    testing::loadSample(store);
    auto sims = simulation::readSimulations(tt::openRocketCsv({}), "club.csv", "club");
    ASSERT_TRUE(std::holds_alternative<std::vector<simulation::Simulation>>(sims));
    const analysis::FlightStatistics stats = analysis::computeStatistics(store.current);
    auto comparison =
        std::make_shared<const simulation::FlightAgainstSimulation>(simulation::compareFlight(
            store.current, stats, std::get<std::vector<simulation::Simulation>>(sims).front(),
            "club.csv"));

    ReportRequest request;
    request.graph.view = GraphView::Set;  // page one as asked; page two draws both curves
    graph::AnalysisViewState state;
    state.simulation = std::make_shared<const graph::SimulationOverlay>(
        graph::makeSimulationOverlay(comparison, stats.launchTimeS));
    request.graph.analysisState = state;
    const ReportContent content =
        buildReportContent(store.current, store.settings, store.comment(0), request);
    const QString path = dir.filePath("report.pdf");
    ASSERT_EQ(writePdfReport(path.toStdString(), content), "");

    EXPECT_TRUE(testing::pdfInfo(path).contains(QRegularExpression("Pages:\\s+2\\n")));
    const QString text = testing::pdfText(path);
    EXPECT_TRUE(text.contains("Page 1 of 2")) << text.toStdString();
    EXPECT_TRUE(text.contains("Page 2 of 2"));
    EXPECT_TRUE(text.contains("Flight against simulation"));
    EXPECT_TRUE(text.contains("Simulation \"Club flight H128\" (club.csv)"));
    // The same rows and words as the panel and the command line, each on its line.
    const auto rows = comparison->rows(analysis::UnitSystem::Metric);
    ASSERT_FALSE(rows.empty());
    for (const auto& row : rows) {
        const QString line =
            QStringLiteral("%1\\s+%2\\s+%3\\s+%4")
                .arg(QRegularExpression::escape(QString::fromStdString(row.label)),
                     QRegularExpression::escape(QString::fromStdString(row.flown)),
                     QRegularExpression::escape(QString::fromStdString(row.simulated)),
                     QRegularExpression::escape(QString::fromStdString(row.difference)));
        EXPECT_TRUE(text.contains(QRegularExpression(line))) << row.label << "\n"
                                                             << text.toStdString();
    }
    const QString simplified = text.simplified();
    EXPECT_TRUE(simplified.contains(QString::fromStdString(comparison->verdict)))
        << comparison->verdict << "\n"
        << simplified.toStdString();
    EXPECT_TRUE(simplified.contains("Coast drag"));
    // The legend tells the dashed curve by the simulation's name.
    EXPECT_TRUE(simplified.contains("Club flight H128 (simulation)"));
}

}  // namespace
}  // namespace tevusb::report
