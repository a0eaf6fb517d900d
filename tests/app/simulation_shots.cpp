// SPDX-License-Identifier: MIT

#include "app/analysis_front.h"
#include "app/main_menu.h"
#include "app/simulation_front.h"
#include "app/view_menu.h"
#include "app/view_preferences.h"
#include "app_fixture.h"
#include "graph/simulation_overlay.h"
#include "report/pdf_report.h"
#include "report/report_builder.h"
#include "support/club_rocket.h"
#include "support/pdf_tools.h"
#include "support/screenshot.h"
#include "support/temp_dir.h"
#include "ui/flight_statistics_panel.h"

namespace tevusb::app {
namespace {

using testing::AppTest;

// Pictures of the sample flight against a simulation of it: the analysis view with the
// dashed simulation, the statistics panel's comparison and the report's second page.
TEST_F(AppTest, ScreenshotsOfTheFlightAgainstItsSimulation) {
    preferenceSettings().clear();
    using tevusb::testing::saveShot;
    openWindow();
    m_window->resize(1280, 800);
    ASSERT_TRUE(testing::waitUntil([&] { return bufferFitsClient(); }));
    m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
    trigger(command::kOpen);
    const QString csv = tempPath("H128W club field.csv");
    tevusb::testing::writeAll(csv.toStdString(),
                              tevusb::testing::clubRocketCsv("H128W club field", 0.48));
    m_window->simulation()->load(csv);
    ASSERT_TRUE(testing::waitUntil([&] { return m_window->simulation()->shown() != nullptr; }));
    EXPECT_TRUE(saveShot(*m_window, "analysis-simulation.png"));

    trigger(view_command::kFlightStatistics);
    auto* panel = m_window->findChild<ui::FlightStatisticsPanel*>("FlightStatisticsPanel");
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(testing::waitUntil([&] { return panel->isVisible(); }));
    // The panel's first estimate of its row heights comes before the style's font; the
    // flyer's window manager would let it grow, the offscreen one does not.
    panel->resize(panel->width(), panel->height() + 60);
    EXPECT_TRUE(saveShot(*panel, "flight-statistics-simulation.png"));

    report::ReportRequest request;
    request.graph.view = report::GraphView::Analysis;
    request.graph.analysisState = m_window->graph().viewState();
    request.graph.analysisState->window.reset();
    request.source = "sample-flight.tev";
    const QString pdf = tempPath("report.pdf");
    ASSERT_EQ(report::writePdfReport(
                  pdf.toStdString(),
                  report::buildReportContent(m_store.current, m_store.settings, "", request)),
              "");
    EXPECT_TRUE(
        tevusb::testing::pdfPageToPng(pdf, 2, 80, tevusb::testing::shotPath("report-simulation")));
    EXPECT_TRUE(QFile::exists(tevusb::testing::shotPath("report-simulation.png")));
}

}  // namespace
}  // namespace tevusb::app
