// SPDX-License-Identifier: MIT
#include "ui/library/flight_table_view.h"

#include <QHeaderView>
#include <QTableView>
#include <iterator>

#include "ui/library/flight_table_model.h"

namespace tevusb::ui {

void setUpFlightTable(QTableView& table, QAbstractItemModel* model) {
    table.setModel(model);
    table.setSortingEnabled(true);
    table.sortByColumn(FlightTableModel::Date, Qt::DescendingOrder);
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setAlternatingRowColors(true);
    table.setWordWrap(false);
    table.verticalHeader()->hide();
    table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table.verticalHeader()->setDefaultSectionSize(table.fontMetrics().height() + 8);
    QHeaderView* header = table.horizontalHeader();
    header->setStretchLastSection(true);
    const QFontMetrics metrics = table.fontMetrics();
    const char* const widest[] = {"2026-12-08 18:88 ",
                                  "Honest John Mk II",
                                  "H128W-14A",
                                  "Apogee 8888 ft",
                                  "A 188.8 s, B 188.8 s",
                                  "Black Rock Desert",
                                  "Main out at 150 m, drifted 400"};
    for (int c = 0; c < static_cast<int>(std::size(widest)); ++c) {
        header->resizeSection(c, metrics.horizontalAdvance(QLatin1String(widest[c])) + 16);
    }
}

}  // namespace tevusb::ui
