// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include "analysis/emulation_report.h"
#include "analysis/units.h"

class QLabel;
class QPlainTextEdit;

namespace tevusb::ui {

// The bench-test report of the last launch emulation, in a window of its own that stays
// open beside the program: each line's verdict first, then the details. Saves the report
// as text, JSON or PDF.
class EmulationReportWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr const char* kObjectName = "EmulationReportWindow";

    explicit EmulationReportWindow(QWidget* parent = nullptr);

    // Shows `report` in the program's one report window, opening it if needed as a window
    // of `parent` (the main window, so it closes with the program).
    static EmulationReportWindow* present(const analysis::EmulationReport& report,
                                          analysis::UnitSystem units, QWidget* parent = nullptr);
    // The open report window, or null.
    static EmulationReportWindow* current();

    void setReport(const analysis::EmulationReport& report, analysis::UnitSystem units);
    QString text() const;

    // Ask for a path and write the report there; false when cancelled or not written
    // (the user has been told why).
    bool saveText();
    bool saveJson();
    bool savePdf();

  private:
    bool save(const QString& title, const QString& filterName, const QString& suffix,
              const std::string& contents);

    analysis::EmulationReport m_report;
    analysis::UnitSystem m_units = analysis::UnitSystem::Metric;
    QLabel* m_verdicts;
    QPlainTextEdit* m_text;
};

}  // namespace tevusb::ui
