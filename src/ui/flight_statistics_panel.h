// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <memory>

#include "analysis/flight_statistics.h"
#include "analysis/units.h"
#include "simulation/flight_against_simulation.h"

class QLabel;
class QTableWidget;

namespace tevusb::ui {

// A non-modal window listing the statistics of one set, a row per statistic, in the
// chosen units; the owner refreshes it whenever another set is shown or the units change.
class FlightStatisticsPanel : public QDialog {
    Q_OBJECT
  public:
    explicit FlightStatisticsPanel(QWidget* parent = nullptr);

    void showStatistics(const analysis::FlightStatistics& statistics, analysis::UnitSystem units);
    // The name its header gives the flight (until set, "Data set N").
    void setFlightName(const QString& name) { m_flightName = name; }
    QString caption() const;

    // The flight against a simulation below the statistics (quantity, flight, simulation,
    // difference), with the coast drag and the verdict; null hides it. Takes effect at
    // the next showStatistics.
    void setSimulation(std::shared_ptr<const simulation::FlightAgainstSimulation> comparison);
    // The comparison's rows as "label\tflight\tsimulation\tdifference" lines, then
    // "Coast drag: ..." and the verdict; empty without a simulation.
    QStringList simulationTexts() const;

    // The shown rows as "label\tvalue" lines, for checks and copying.
    QStringList rowTexts() const;

  private:
    QString m_flightName;
    QLabel* m_caption;
    QTableWidget* m_table;
    QLabel* m_notes;
    QLabel* m_simCaption;
    QTableWidget* m_simTable;
    QLabel* m_drag;
    QLabel* m_verdict;
    std::shared_ptr<const simulation::FlightAgainstSimulation> m_comparison;

    void showSimulation(analysis::UnitSystem units);
};

}  // namespace tevusb::ui
