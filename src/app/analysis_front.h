// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "app/view_preferences.h"
#include "ui/flight_statistics_panel.h"

class QMainWindow;

namespace tevusb::graph {
class FlightGraph;
}

namespace tevusb::app {

class AnalysisInput;
class FileCommands;
class GraphWidget;

// The window's View menu at work: it restores the remembered choices, switches the
// analysis view and the units, keeps them for the next run, and shows the statistics
// panel, which follows every set the file commands show.
class AnalysisFront : public QObject {
    Q_OBJECT
  public:
    AnalysisFront(QMainWindow& window, graph::FlightGraph& graph, FileCommands& files,
                  GraphWidget* widget);
    // The window deletes this while its graph still exists: the graph widget then stops
    // reaching for it.
    ~AnalysisFront() override;

    void setAnalysisView(bool on);
    void setUnits(analysis::UnitSystem units);
    // Opens (or raises) the statistics panel on the current set.
    void showStatisticsPanel();
    ui::FlightStatisticsPanel* statisticsPanel() const { return m_panel; }
    // A simulation was shown over the flight or removed: the analysis view (switched on to
    // show a new one) and the panel follow.
    void simulationChanged();
    // Runs after the panel followed a newly shown flight.
    void setShownHook(std::function<void()> hook) { m_shownHook = std::move(hook); }
    // The name of the flight shown, as the analysis view's header and the panel give it.
    QString flightName() const;
    AnalysisInput* input() const { return m_input; }

  private:
    void setShown();
    void refreshPanel();

    QMainWindow& m_window;
    graph::FlightGraph& m_graph;
    FileCommands& m_files;
    AnalysisInput* m_input;
    QPointer<ui::FlightStatisticsPanel> m_panel;
    ViewPreferences m_preferences;
    std::function<void()> m_shownHook;
};

}  // namespace tevusb::app
