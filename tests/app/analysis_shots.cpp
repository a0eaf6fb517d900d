// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QMouseEvent>

#include "app/analysis_front.h"
#include "app/graph_widget.h"
#include "app/main_menu.h"
#include "app/view_menu.h"
#include "app/view_preferences.h"
#include "app_fixture.h"
#include "support/screenshot.h"
#include "ui/flight_statistics_panel.h"

namespace tevusb::app {
namespace {

using testing::AppTest;

// Pictures of the analysis view and the statistics panel on the sample flight, for the
// documentation and for looking at what was built.
TEST_F(AppTest, ScreenshotsOfTheAnalysisViewAndTheStatisticsPanel) {
    preferenceSettings().clear();
    using tevusb::testing::saveShot;
    openWindow();
    m_window->resize(1280, 800);
    ASSERT_TRUE(testing::waitUntil([&] { return bufferFitsClient(); }));
    m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
    trigger(command::kOpen);
    trigger(view_command::kAnalysisView);
    EXPECT_TRUE(saveShot(*m_window, "analysis-view.png"));

    graph::FlightGraph& graph = m_window->graph();
    const analysis::FlightStatistics stats = graph.statistics();
    ASSERT_TRUE(stats.apogee.has_value());
    const double apogee = stats.apogee->timeS;
    graph.changeView([&](graph::AnalysisViewState& s) { s.window.zoomTo(apogee - 4, apogee + 4); });
    graph.RedrawGraph();
    const graph::AnalysisLayout layout = graph.shownLayout();
    const QPointF at(layout.altitude().x(apogee + 0.5),
                     static_cast<double>(layout.plot().center().y()));
    QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(m_window->graphWidget(), &move);
    EXPECT_TRUE(saveShot(*m_window, "analysis-apogee-readout.png"));

    trigger(view_command::kImperial);
    graph.changeView([](graph::AnalysisViewState& s) { s.window.reset(); });
    graph.RedrawGraph();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(m_window->graphWidget(), &leave);
    EXPECT_TRUE(saveShot(*m_window, "analysis-imperial.png"));

    trigger(view_command::kMetric);
    trigger(view_command::kFlightStatistics);
    auto* panel = m_window->findChild<ui::FlightStatisticsPanel*>("FlightStatisticsPanel");
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(testing::waitUntil([&] { return panel->isVisible(); }));
    EXPECT_TRUE(saveShot(*panel, "flight-statistics.png"));
}

}  // namespace
}  // namespace tevusb::app
