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
                                  "Main out at 150 m, drifted 400",
                                  "",
                                  "2026-12-08 ",
                                  "Set ",
                                  "Id 8888"};
    for (int c = 0; c < static_cast<int>(std::size(widest)); ++c) {
        if (widest[c][0] != '\0') {
            header->resizeSection(c, metrics.horizontalAdvance(QLatin1String(widest[c])) + 16);
        }
    }
    // The id and the days first, then the set number: what names a flight reads left to
    // right, and the long texts stay at the end where the last one stretches.
    header->moveSection(header->visualIndex(FlightTableModel::Id), 0);
    header->moveSection(header->visualIndex(FlightTableModel::FlightDate), 1);
    header->moveSection(header->visualIndex(FlightTableModel::Date), 2);
    header->moveSection(header->visualIndex(FlightTableModel::SetNumber), 3);
}

}  // namespace tevusb::ui
