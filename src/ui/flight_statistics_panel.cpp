// SPDX-License-Identifier: MIT
#include "ui/flight_statistics_panel.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "analysis/statistics_table.h"

namespace tevusb::ui {

namespace {
constexpr int kTallestTable = 640;
}  // namespace

FlightStatisticsPanel::FlightStatisticsPanel(QWidget* parent)
    : QDialog(parent),
      m_caption(new QLabel(this)),
      m_table(new QTableWidget(0, 2, this)),
      m_notes(new QLabel(this)) {
    setObjectName("FlightStatisticsPanel");
    setWindowTitle(QStringLiteral("Flight Statistics"));
    setModal(false);
    m_table->setObjectName("statisticsTable");
    m_table->horizontalHeader()->hide();
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    m_table->setAlternatingRowColors(true);
    m_notes->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_notes);
    resize(480, 300);
}

void FlightStatisticsPanel::showStatistics(const analysis::FlightStatistics& statistics,
                                           analysis::UnitSystem units) {
    // The flight's name when the window gave one; the clock every moment below counts on.
    const QString name = m_flightName.isEmpty()
                             ? QStringLiteral("Data set ") +
                                   QString::number(static_cast<qint64>(statistics.setIndex) + 1)
                             : m_flightName;
    m_caption->setText(name + QStringLiteral("  \u00b7  ") +
                       QString::fromLatin1(analysis::kTimeOriginNote));
    const std::vector<analysis::StatisticsRow> rows = analysis::statisticsTable(statistics, units);
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i);
        m_table->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(rows[i].label)));
        m_table->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(rows[i].value)));
    }
    // Every row in view without scrolling, as far as the screen allows.
    int rowsHeight = 2 * m_table->frameWidth();
    for (int row = 0; row < m_table->rowCount(); ++row) {
        rowsHeight += m_table->rowHeight(row);
    }
    m_table->setMinimumHeight(std::min(rowsHeight, kTallestTable));
    const std::string notes = analysis::describeFlags(statistics.flags);
    m_notes->setText(QString::fromStdString(notes));
    m_notes->setVisible(!notes.empty());
}

QString FlightStatisticsPanel::caption() const {
    return m_caption->text();
}

QStringList FlightStatisticsPanel::rowTexts() const {
    QStringList texts;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const QTableWidgetItem* label = m_table->item(row, 0);
        const QTableWidgetItem* value = m_table->item(row, 1);
        texts << (label ? label->text() : QString()) + QLatin1Char('\t') +
                     (value ? value->text() : QString());
    }
    return texts;
}

}  // namespace tevusb::ui
