// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include "analysis/flight_statistics.h"
#include "analysis/units.h"

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

    // The shown rows as "label\tvalue" lines, for checks and copying.
    QStringList rowTexts() const;

  private:
    QString m_flightName;
    QLabel* m_caption;
    QTableWidget* m_table;
    QLabel* m_notes;
};

}  // namespace tevusb::ui
