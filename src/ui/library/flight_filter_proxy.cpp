// SPDX-License-Identifier: MIT
#include "ui/library/flight_filter_proxy.h"

#include <cmath>

#include "ui/library/flight_table_model.h"

namespace tevusb::ui {

FlightFilterProxy::FlightFilterProxy(FlightTableModel* model, QObject* parent)
    : QSortFilterProxyModel(parent), m_model(model) {
    setSourceModel(model);
    setSortRole(FlightTableModel::SortRole);
}

void FlightFilterProxy::setSearch(const QString& text) {
    const QStringList words = text.toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    m_text = text;
    if (words == m_words) {
        return;
    }
    // One layout change for the whole table: removing the thousands of rows a keystroke
    // hides one range at a time costs the view far more than filtering and sorting anew.
    // The per-row check is a few substring searches on text prepared once.
    m_words = words;
    invalidate();
}

bool FlightFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    if (m_words.isEmpty()) {
        return true;
    }
    const QString& text = m_model->searchText(sourceRow);
    for (const QString& word : m_words) {
        if (!text.contains(word)) {
            return false;
        }
    }
    return true;
}

bool FlightFilterProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const library::FlightRecord& a = m_model->record(left.row());
    const library::FlightRecord& b = m_model->record(right.row());
    switch (left.column()) {
        case FlightTableModel::Date:
            return a.downloadedAt != b.downloadedAt ? a.downloadedAt < b.downloadedAt : a.id < b.id;
        case FlightTableModel::Apogee:
            return a.apogeeAglM.value_or(-INFINITY) < b.apogeeAglM.value_or(-INFINITY);
        default:
            return QSortFilterProxyModel::lessThan(left, right);
    }
}

}  // namespace tevusb::ui
