// SPDX-License-Identifier: MIT
#pragma once

class QAbstractItemModel;
class QTableView;

namespace tevusb::ui {

// Sets up a view of the library's flights as every window of them shows it: sorted by
// date, newest first, whole rows selected, rows of one height and columns as wide as the
// text each usually holds, so that ten thousand rows are never measured.
void setUpFlightTable(QTableView& table, QAbstractItemModel* model);

}  // namespace tevusb::ui
