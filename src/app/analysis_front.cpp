// SPDX-License-Identifier: MIT
#include "app/analysis_front.h"

#include "app/shown_flight_name.h"

#include <QWidget>

#include <QAction>
#include <QMainWindow>

#include "app/analysis_input.h"
#include "app/file_commands.h"
#include "app/graph_widget.h"
#include "app/main_menu.h"
#include "app/view_menu.h"
#include "graph/flight_graph.h"
#include "graph/simulation_overlay.h"
#include "ui/flight_statistics_panel.h"
#include "ui/window_placement.h"

namespace tevusb::app {

AnalysisFront::AnalysisFront(QMainWindow& window, graph::FlightGraph& graph, FileCommands& files,
                             GraphWidget* widget)
    : QObject(&window),
      m_window(window),
      m_graph(graph),
      m_files(files),
      m_input(new AnalysisInput(widget, graph)),
      m_preferences(ViewPreferences::load()) {
    buildViewMenu(window);
    QAction* analysisItem = menuAction(window, view_command::kAnalysisView);
    QAction* metric = menuAction(window, view_command::kMetric);
    QAction* imperial = menuAction(window, view_command::kImperial);
    analysisItem->setChecked(m_preferences.analysisView);
    (m_preferences.units == analysis::UnitSystem::Imperial ? imperial : metric)->setChecked(true);
    m_graph.setUnits(m_preferences.units);
    m_graph.setAnalysisView(m_preferences.analysisView);
    m_input->setActive(m_preferences.analysisView);

    connect(analysisItem, &QAction::toggled, this, [this](bool on) { setAnalysisView(on); });
    connect(metric, &QAction::triggered, this, [this] { setUnits(analysis::UnitSystem::Metric); });
    connect(imperial, &QAction::triggered, this,
            [this] { setUnits(analysis::UnitSystem::Imperial); });
    connect(menuAction(window, view_command::kFlightStatistics), &QAction::triggered, this,
            [this] { showStatisticsPanel(); });
    files.setShowHook([this] { setShown(); });
}

AnalysisFront::~AnalysisFront() {
    m_input->detach();
}

void AnalysisFront::setAnalysisView(bool on) {
    if (QAction* item = menuAction(m_window, view_command::kAnalysisView);
        item != nullptr && item->isChecked() != on) {
        // Checking the item comes back here through its toggled signal.
        item->setChecked(on);
        return;
    }
    m_preferences.analysisView = on;
    m_preferences.save();
    m_graph.setAnalysisView(on);
    m_input->setActive(on);
    m_graph.RedrawGraph();
}

void AnalysisFront::setUnits(analysis::UnitSystem units) {
    const int id =
        units == analysis::UnitSystem::Imperial ? view_command::kImperial : view_command::kMetric;
    if (QAction* item = menuAction(m_window, id)) {
        item->setChecked(true);
    }
    m_preferences.units = units;
    m_preferences.save();
    m_graph.setUnits(units);
    if (m_graph.analysisView()) {
        m_graph.RedrawGraph();
    }
    refreshPanel();
}

void AnalysisFront::showStatisticsPanel() {
    if (!m_panel) {
        m_panel = new ui::FlightStatisticsPanel(&m_window);
    }
    refreshPanel();
    ui::showInFront(m_panel, &m_window);
}

void AnalysisFront::setShown() {
    const QString name = shownFlightName(m_files.shownFile(), m_graph.statistics().setIndex);
    m_graph.changeView([&name](graph::AnalysisViewState& view) { view.title = name; });
    if (m_graph.analysisView()) {
        m_graph.RedrawGraph();
    }
    // The what-to-do hint goes the moment a flight is shown, before any paint.
    if (auto* hint = m_window.findChild<QWidget*>(QStringLiteral("emptyHint"))) {
        hint->setVisible(!hint->isHidden() && m_graph.statistics().readings == 0);
    }
    refreshPanel();
    if (m_shownHook) {
        m_shownHook();
    }
}

void AnalysisFront::simulationChanged() {
    const bool shown = m_graph.viewState().simulation != nullptr;
    if (shown && !m_graph.analysisView()) {
        setAnalysisView(true);
    } else if (m_graph.analysisView()) {
        m_graph.RedrawGraph();
    }
    refreshPanel();
}

QString AnalysisFront::flightName() const {
    return m_graph.viewState().title;
}

void AnalysisFront::refreshPanel() {
    if (m_panel) {
        const auto overlay = m_graph.viewState().simulation;
        m_panel->setSimulation(overlay ? overlay->comparison : nullptr);
        m_panel->setFlightName(flightName());
        m_panel->showStatistics(m_graph.statistics(), m_graph.units());
    }
}

}  // namespace tevusb::app
