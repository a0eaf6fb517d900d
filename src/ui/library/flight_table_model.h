// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <unordered_map>
#include <vector>

#include "analysis/units.h"
#include "library/flight_library.h"

namespace tevusb::ui {

// The library's flights as table rows. The flyer's fields are edited in place; an edit
// goes to `editor`, and the row changes only when the library took it.
class FlightTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // Date is the download time; FlightDate the day it flew (the flyer's, else the
    // download day); SetNumber its set in that download.
    enum Column {
        Date,
        Rocket,
        Motor,
        Apogee,
        Events,
        Site,
        Comment,
        Notes,
        FlightDate,
        SetNumber,
        Id,
        ColumnCount
    };
    // What the proxy sorts and filters on.
    static constexpr int SortRole = Qt::UserRole + 1;
    static constexpr int IdRole = Qt::UserRole + 2;

    // Returns an empty string when the library took the edit, else the reason.
    using Editor = std::function<QString(std::int64_t id, const library::FlightFields&)>;

    // A flight with the texts the table shows and searches, made once.
    struct Row {
        library::FlightRecord record;
        QString date;
        QString flightDay;
        QString events;
        QString search;
    };

    explicit FlightTableModel(QObject* parent = nullptr);

    // Makes the rows of `records`; any thread, so that a worker does it for ten thousand.
    static std::vector<Row> prepareRows(std::vector<library::FlightRecord> records);
    void setRows(std::vector<Row> rows);
    void setRecords(std::vector<library::FlightRecord> records);
    void setUnits(analysis::UnitSystem units);
    // The apogees of the simulations kept with flights (flight id to m): the Apogee column
    // then reads "656.0 m · sim 713.3 m (-8.0 %)".
    void setSimulatedApogees(std::unordered_map<std::int64_t, double> apogees);
    void setEditor(Editor editor) { m_editor = std::move(editor); }

    const library::FlightRecord& record(int row) const { return m_rows[row].record; }
    // The lower-case text a filter searches: rocket, motor, site, notes, comment, date.
    const QString& searchText(int row) const { return m_rows[row].search; }
    // The row of flight `id`, or -1.
    int rowOf(std::int64_t id) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The reason of the last refused edit (empty after a taken one).
    const QString& lastEditError() const { return m_lastEditError; }

    // "2026-12-08 08:35" in local time, from the library's UTC stamp.
    static QString localDate(const std::string& utc);
    // When the lines fired, "A 3.2 s, B 12.0 s" under the heading "Line A/B"; empty when
    // neither did.
    static QString eventsText(const library::FlightRecord& record);

  signals:
    void editRefused(const QString& reason);

  private:
    struct ColumnLayout;
    // Header, cell, sort key, tool tip, alignment and editing of each column, in one table.
    static const ColumnLayout& column(int index);
    static Row makeRow(library::FlightRecord record);
    QString apogeeText(const library::FlightRecord& record) const;

    std::vector<Row> m_rows;
    analysis::UnitSystem m_units = analysis::UnitSystem::Metric;
    std::unordered_map<std::int64_t, double> m_simApogees;
    Editor m_editor;
    QString m_lastEditError;
};

}  // namespace tevusb::ui
