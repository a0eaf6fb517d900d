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

    // The shown rows as "label\tvalue" lines, for checks and copying.
    QStringList rowTexts() const;

  private:
    QLabel* m_caption;
    QTableWidget* m_table;
    QLabel* m_notes;
};

}  // namespace tevusb::ui
