// SPDX-License-Identifier: MIT
#include "ui/flight_statistics_panel.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "analysis/statistics_table.h"

namespace tevusb::ui {

namespace {
constexpr int kTallestTable = 640;
constexpr int kWidestTable = 1000;

void buildSimulationTable(QTableWidget& table) {
    table.setObjectName("simulationTable");
    table.setHorizontalHeaderLabels({QString(), QStringLiteral("Flight"),
                                     QStringLiteral("Simulation"), QStringLiteral("Difference")});
    table.verticalHeader()->hide();
    table.horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table.horizontalHeader()->setStretchLastSection(true);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setSelectionMode(QAbstractItemView::ContiguousSelection);
    table.setShowGrid(false);
    table.setWordWrap(false);
    table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table.verticalHeader()->setDefaultSectionSize(table.fontMetrics().height() + 8);
    table.setAlternatingRowColors(true);
}

int tableHeight(const QTableWidget& table) {
    int height =
        2 * table.frameWidth() +
        (table.horizontalHeader()->isHidden() ? 0 : table.horizontalHeader()->sizeHint().height());
    for (int row = 0; row < table.rowCount(); ++row) {
        height += table.rowHeight(row);
    }
    return std::min(height, kTallestTable);
}

}  // namespace

FlightStatisticsPanel::FlightStatisticsPanel(QWidget* parent)
    : QDialog(parent),
      m_caption(new QLabel(this)),
      m_table(new QTableWidget(0, 2, this)),
      m_notes(new QLabel(this)),
      m_simCaption(new QLabel(this)),
      m_simTable(new QTableWidget(0, 4, this)),
      m_drag(new QLabel(this)),
      m_verdict(new QLabel(this)) {
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
    buildSimulationTable(*m_simTable);
    m_simCaption->setObjectName("simulationCaption");
    m_verdict->setObjectName("simulationVerdict");
    m_verdict->setWordWrap(true);
    m_drag->setObjectName("coastDrag");
    m_drag->setWordWrap(true);
    m_drag->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_verdict->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_simCaption);
    layout->addWidget(m_simTable, 1);
    layout->addWidget(m_drag);
    layout->addWidget(m_verdict);
    m_simCaption->hide();
    m_simTable->hide();
    m_drag->hide();
    m_verdict->hide();
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
    // And every value whole: the longest ("T+0.0 s, 1.3 s into the recording (...)") is
    // wider than the panel's first size.
    const QAbstractItemView& view = *m_table;  // where the column hints are public
    int columnsWidth =
        2 * m_table->frameWidth() + view.sizeHintForColumn(0) + view.sizeHintForColumn(1);
    if (rowsHeight > kTallestTable) {
        columnsWidth += m_table->verticalScrollBar()->sizeHint().width();
    }
    m_table->setMinimumWidth(std::min(columnsWidth, kWidestTable));
    const std::string notes = analysis::describeFlags(statistics.flags);
    m_notes->setText(QString::fromStdString(notes));
    m_notes->setVisible(!notes.empty());
    showSimulation(units);
}

void FlightStatisticsPanel::setSimulation(
    std::shared_ptr<const simulation::FlightAgainstSimulation> comparison) {
    m_comparison = std::move(comparison);
}

void FlightStatisticsPanel::showSimulation(analysis::UnitSystem units) {
    const bool shown = m_comparison != nullptr;
    m_simCaption->setVisible(shown);
    m_simTable->setVisible(shown);
    m_drag->setVisible(shown);
    m_verdict->setVisible(shown);
    if (!shown) {
        m_simTable->setRowCount(0);
        return;
    }
    m_simCaption->setText(QString::fromStdString(m_comparison->heading()));
    std::vector<simulation::ComparisonRow> rows = m_comparison->rows(units);
    const analysis::StatisticsRow drag = m_comparison->dragRow(units);
    m_simTable->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i);
        const std::string* cells[4] = {&rows[i].label, &rows[i].flown, &rows[i].simulated,
                                       &rows[i].difference};
        for (int column = 0; column < 4; ++column) {
            auto* item = new QTableWidgetItem(QString::fromStdString(*cells[column]));
            if (column > 0) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            m_simTable->setItem(row, column, item);
        }
    }
    m_simTable->setMinimumHeight(tableHeight(*m_simTable));
    m_drag->setText(QString::fromStdString(drag.label + ": " + drag.value));
    m_verdict->setText(QString::fromStdString(m_comparison->verdict));
    QFont bold = m_verdict->font();
    bold.setBold(true);
    m_verdict->setFont(bold);
    // Both tables whole: the panel grows to what its layout needs, never shrinks here.
    layout()->setSizeConstraint(QLayout::SetMinimumSize);
    resize(std::max(width(), 560), height());
}

QStringList FlightStatisticsPanel::simulationTexts() const {
    QStringList texts;
    if (!m_comparison) {
        return texts;
    }
    for (int row = 0; row < m_simTable->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < 4; ++column) {
            const QTableWidgetItem* item = m_simTable->item(row, column);
            if (item != nullptr) {
                cells << item->text();
            }
        }
        texts << cells.join(QLatin1Char('\t'));
    }
    texts << m_drag->text() << m_verdict->text();
    return texts;
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
