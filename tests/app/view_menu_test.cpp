// SPDX-License-Identifier: MIT
// The View menu: its place and ids, the remembered choices, the statistics panel and the
// analysis view's mouse and keyboard on the main window.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTableWidget>
#include <QWheelEvent>

#include "app/analysis_front.h"
#include "app/analysis_input.h"
#include "app/graph_widget.h"
#include "app/main_menu.h"
#include "app/view_menu.h"
#include "app/view_preferences.h"
#include "app_fixture.h"
#include "device/sim/sim_backend.h"
#include "ui/flight_statistics_panel.h"

namespace tevusb::app {
namespace {

using analysis::UnitSystem;

struct ViewMenuTest : testing::AppTest {
    void SetUp() override {
        AppTest::SetUp();
        // The test binary keeps its settings in a folder of its own; start each test clean.
        preferenceSettings().clear();
    }

    void openFlight() {
        m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
        trigger(command::kOpen);
        ASSERT_GT(m_store.current.size(), 100u);
    }

    void send(QEvent& event) { QApplication::sendEvent(m_window->graphWidget(), &event); }

    QPointF pointAt(double t) const {
        const graph::AnalysisLayout layout = m_window->graph().shownLayout();
        return {layout.altitude().x(t), static_cast<double>(layout.plot().center().y())};
    }
};

QStringList titles(const QMainWindow& window) {
    QStringList shown;
    for (QAction* top : window.menuBar()->actions()) {
        shown << top->text();
    }
    return shown;
}

TEST_F(ViewMenuTest, ViewComesBeforeHelpWithItsIdsAndTheSimulatorStaysLast) {
    openWindow(std::make_shared<device::sim::SimBackend>());
    EXPECT_EQ(titles(*m_window), QStringList({"File", "Tools", "View", "Help", "Simulator"}));
    QMenu* view = m_window->findChild<QMenu*>("View");
    ASSERT_NE(view, nullptr);
    const QList<QAction*> items = view->actions();
    ASSERT_EQ(items.size(), 9);
    EXPECT_TRUE(items[3]->isSeparator());
    EXPECT_TRUE(items[5]->isSeparator());
    EXPECT_EQ(items[6]->text(), "Compare with Simulation...");
    EXPECT_EQ(items[6]->objectName(), "41011");
    EXPECT_EQ(items[7]->text(), "Remove Simulation");
    EXPECT_EQ(items[7]->objectName(), "41012");
    EXPECT_EQ(items[8]->text(), "Keep Simulation with Library Flight");
    EXPECT_EQ(items[8]->objectName(), "41013");
    EXPECT_EQ(items[4]->text(), "Compare Flights...");
    EXPECT_EQ(items[4]->objectName(), "41010");
    EXPECT_EQ(items[0]->text(), "Flight Statistics");
    EXPECT_EQ(items[0]->objectName(), "41001");
    EXPECT_EQ(items[1]->text(), "Analysis View");
    EXPECT_EQ(items[1]->objectName(), "41002");
    EXPECT_TRUE(items[1]->isCheckable());
    EXPECT_FALSE(items[1]->isChecked());
    ASSERT_NE(items[2]->menu(), nullptr);
    EXPECT_EQ(items[2]->text(), "Units");
    const QList<QAction*> units = items[2]->menu()->actions();
    ASSERT_EQ(units.size(), 2);
    EXPECT_EQ(units[0]->text(), "Metric");
    EXPECT_EQ(units[0]->objectName(), "41003");
    EXPECT_EQ(units[1]->text(), "Imperial");
    EXPECT_EQ(units[1]->objectName(), "41004");
    EXPECT_TRUE(units[0]->isChecked());
    units[1]->trigger();
    EXPECT_FALSE(units[0]->isChecked());
    EXPECT_TRUE(units[1]->isChecked());
}

TEST_F(ViewMenuTest, ChoicesAreKeptForTheNextWindowAndTheDefaultIsTheDesignedView) {
    openWindow();
    EXPECT_FALSE(m_window->graph().analysisView());
    EXPECT_TRUE(testing::isUniform(m_window->surface().snapshot(), testing::kSetBackground));
    trigger(view_command::kAnalysisView);
    trigger(view_command::kImperial);
    EXPECT_TRUE(m_window->graph().analysisView());
    EXPECT_EQ(preferenceSettings().value("view/analysisView").toBool(), true);
    EXPECT_EQ(preferenceSettings().value("view/units").toString(), "imperial");
    // Kept where this process pointed QSettings, never in the system's shared store (the
    // registry on Windows), where test programs running side by side would see each
    // other's choices.
    const QSettings own(QSettings::IniFormat, QSettings::UserScope, kSettingsOrganisation,
                        kSettingsApplication);
    EXPECT_EQ(own.value("view/units").toString(), "imperial");

    m_window.reset();
    openWindow();
    EXPECT_TRUE(menuAction(*m_window, view_command::kAnalysisView)->isChecked());
    EXPECT_TRUE(menuAction(*m_window, view_command::kImperial)->isChecked());
    EXPECT_EQ(m_window->graph().units(), UnitSystem::Imperial);
    // The analysis view is white where the set view is blue (the new buffer starts black).
    EXPECT_TRUE(testing::waitUntil(
        [&] { return (m_window->surface().snapshot().pixel(2, 2) & 0xFFFFFFu) == 0xFFFFFFu; }));

    // Switched off, the window shows the designed set view again, and that is kept too.
    trigger(view_command::kAnalysisView);
    EXPECT_TRUE(testing::isUniform(m_window->surface().snapshot(), testing::kSetBackground));
    EXPECT_EQ(preferenceSettings().value("view/analysisView").toBool(), false);
}

TEST_F(ViewMenuTest, StatisticsPanelIsNonModalAndFollowsTheShownSetAndUnits) {
    openWindow();
    trigger(view_command::kFlightStatistics);
    ui::FlightStatisticsPanel* panel =
        m_window->findChild<ui::FlightStatisticsPanel*>("FlightStatisticsPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(panel->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const QStringList empty = panel->rowTexts();

    openFlight();
    const QStringList metric = panel->rowTexts();
    EXPECT_NE(metric, empty);
    // Every value is shown whole, the longest (the launch's) too, not cut off with "...".
    const auto* table = panel->findChild<QTableWidget*>("statisticsTable");
    ASSERT_NE(table, nullptr);
    ASSERT_TRUE(testing::waitUntil([&] { return table->columnWidth(1) > 0; }));
    QApplication::processEvents();
    for (int row = 0; row < table->rowCount(); ++row) {
        const QString value = table->item(row, 1)->text();
        EXPECT_LT(table->fontMetrics().horizontalAdvance(value), table->columnWidth(1))
            << value.toStdString();
    }
    EXPECT_TRUE(metric.join('\n').contains(" m"));
    trigger(view_command::kImperial);
    const QString imperial = panel->rowTexts().join('\n');
    EXPECT_TRUE(imperial.contains(" ft")) << imperial.toStdString();

    // After a download dialog the shown set is picked up too.
    m_window->showSelectedSet(5);
    EXPECT_NE(panel->rowTexts().join('\n'), imperial);
    // Asking again raises the same panel rather than opening a second one.
    trigger(view_command::kFlightStatistics);
    EXPECT_EQ(m_window->findChildren<ui::FlightStatisticsPanel*>().size(), 1);
}

TEST_F(ViewMenuTest, WheelRectangleKeysAndDoubleClickZoomWithoutTouchingTheScale) {
    openWindow();
    openFlight();
    trigger(view_command::kAnalysisView);
    graph::FlightGraph& graph = m_window->graph();
    const data::GraphScale scale = graph.scale();
    const double duration = graph.viewState().window.duration();

    const QPointF at = pointAt(duration / 4.0);
    QWheelEvent wheel(at, m_window->graphWidget()->mapToGlobal(at), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    send(wheel);
    graph::TimeWindow window = graph.viewState().window;
    EXPECT_NEAR(window.span(), duration * AnalysisInput::kZoomStep, 1e-6);
    // The time under the cursor stays under the cursor.
    EXPECT_NEAR(graph.shownLayout().altitude().timeAt(at.x()), duration / 4.0, 0.05);

    QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
    send(home);
    EXPECT_FALSE(graph.viewState().window.zoomed());

    const QPointF from = pointAt(10.0);
    const QPointF to = pointAt(20.0);
    QMouseEvent press(QEvent::MouseButtonPress, from, from, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, to, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, to, to, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    send(press);
    send(move);
    send(release);
    window = graph.viewState().window;
    EXPECT_NEAR(window.start(), 10.0, 0.1);
    EXPECT_NEAR(window.end(), 20.0, 0.1);

    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    send(right);
    EXPECT_NEAR(graph.viewState().window.start(), 12.0, 0.1);
    const double span = graph.viewState().window.span();
    QKeyEvent minus(QEvent::KeyPress, Qt::Key_Minus, Qt::NoModifier);
    send(minus);
    EXPECT_NEAR(graph.viewState().window.span(), span / AnalysisInput::kZoomStep, 1e-9);

    QMouseEvent twice(QEvent::MouseButtonDblClick, from, from, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    send(twice);
    EXPECT_FALSE(graph.viewState().window.zoomed());
    const data::GraphScale after = graph.scale();
    EXPECT_EQ(after.xSpan, scale.xSpan);
    EXPECT_EQ(after.yOrigin, scale.yOrigin);
    EXPECT_EQ(after.ySpan, scale.ySpan);
}

TEST_F(ViewMenuTest, CursorReadoutIsPaintedOverTheBufferWithoutARedraw) {
    openWindow();
    openFlight();
    trigger(view_command::kAnalysisView);
    GraphWidget* widget = m_window->graphWidget();
    const QImage plain = widget->grab().toImage();
    const int redraws = logCount("Updating buffer.");

    const QPointF at = pointAt(12.0);
    QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    send(move);
    const QImage withCursor = widget->grab().toImage();
    EXPECT_EQ(logCount("Updating buffer."), redraws);
    EXPECT_FALSE(plain == withCursor);
    // The buffer itself is untouched: the readout lives only in the widget's paint.
    EXPECT_TRUE(m_window->surface().snapshot() == plain.convertToFormat(QImage::Format_RGB32));

    QEvent leave(QEvent::Leave);
    send(leave);
    EXPECT_TRUE(widget->grab().toImage() == plain);
}

}  // namespace
}  // namespace tevusb::app
