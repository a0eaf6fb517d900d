// SPDX-License-Identifier: MIT
#include "ui/library/flight_table_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "library/flight_name.h"
#include "library/local_time.h"
#include "ui/library/library_units.h"

namespace tevusb::ui {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

// What one column shows. The flyer's own fields name their member in the record and in
// an edit, and by default show their text and sort on it in lower case; the columns the
// program fills in give their cell and sort key themselves.
struct FlightTableModel::ColumnLayout {
    const char* header;
    std::string library::FlightRecord::*field = nullptr;
    std::optional<std::string> library::FlightFields::*edit = nullptr;
    QVariant (*cell)(const FlightTableModel& model, const Row& row) = nullptr;
    QVariant (*sortKey)(const Row& row) = nullptr;
    QString (*toolTip)(const Row& row) = nullptr;
    bool rightAligned = false;
};

const FlightTableModel::ColumnLayout& FlightTableModel::column(int index) {
    using R = library::FlightRecord;
    using F = library::FlightFields;
    static const ColumnLayout kColumns[ColumnCount] = {
        // Date
        {.header = "Downloaded",
         .cell = [](const FlightTableModel&, const Row& row) -> QVariant { return row.date; },
         .sortKey = [](const Row& row) -> QVariant { return q(row.record.downloadedAt); },
         .toolTip =
             [](const Row& row) {
                 const R& r = row.record;
                 return QStringLiteral("Set %1 of its download, %2 readings, firmware %3")
                     .arg(r.setNumber)
                     .arg(r.readings)
                     .arg(r.firmwareVersion.empty() ? QStringLiteral("unknown")
                                                    : q(r.firmwareVersion));
             }},
        // Rocket, Motor
        {.header = "Rocket", .field = &R::rocket, .edit = &F::rocket},
        {.header = "Motor", .field = &R::motor, .edit = &F::motor},
        // Apogee
        {.header = "Apogee",
         .cell = [](const FlightTableModel& model, const Row& row) -> QVariant {
             return model.apogeeText(row.record);
         },
         .sortKey = [](const Row& row) -> QVariant {
             return row.record.apogeeAglM ? *row.record.apogeeAglM : -INFINITY;
         },
         .rightAligned = true},
        // Events
        {.header = "Line A/B",
         .cell = [](const FlightTableModel&, const Row& row) -> QVariant { return row.events; },
         .sortKey = [](const Row& row) -> QVariant { return row.events; },
         .toolTip =
             [](const Row& row) {
                 return row.events.isEmpty()
                            ? QStringLiteral("Neither line fired")
                            : QStringLiteral("Seconds after the first reading: ") + row.events;
             }},
        // Site, Comment, Notes
        {.header = "Site", .field = &R::site, .edit = &F::site},
        {.header = "Comment", .field = &R::comment, .edit = &F::comment},
        {.header = "Notes", .field = &R::notes, .edit = &F::notes},
        // FlightDate: the flyer's field, shown and sorted as the day it flew.
        {.header = "Flight date",
         .field = &R::flightDate,
         .edit = &F::flightDate,
         .cell = [](const FlightTableModel&, const Row& row) -> QVariant { return row.flightDay; },
         .sortKey = [](const Row& row) -> QVariant { return row.flightDay; },
         .toolTip =
             [](const Row& row) {
                 return row.record.flightDate.empty()
                            ? QStringLiteral(
                                  "The download day; double-click to give the day it flew")
                            : QStringLiteral("The day it flew, as you gave it");
             }},
        // SetNumber, Id
        {.header = "Set",
         .cell = [](const FlightTableModel&, const Row& row) -> QVariant {
             return row.record.setNumber;
         },
         .sortKey = [](const Row& row) -> QVariant { return row.record.setNumber; },
         .rightAligned = true},
        {.header = "Id",
         .cell = [](const FlightTableModel&, const Row& row) -> QVariant {
             return QVariant::fromValue<qint64>(row.record.id);
         },
         .sortKey = [](const Row& row) -> QVariant {
             return QVariant::fromValue<qint64>(row.record.id);
         },
         .rightAligned = true},
    };
    return kColumns[index];
}

FlightTableModel::FlightTableModel(QObject* parent) : QAbstractTableModel(parent) {}

QString FlightTableModel::localDate(const std::string& utc) {
    return QString::fromStdString(library::localMinuteText(utc));
}

QString FlightTableModel::eventsText(const library::FlightRecord& record) {
    char text[96];
    int at = 0;
    const auto add = [&](const char* line, const std::optional<double>& seconds) {
        if (seconds && std::isfinite(*seconds) && std::fabs(*seconds) < 1e9 &&
            at < static_cast<int>(sizeof text)) {
            // Tenths by hand: printf's decimal mark follows the locale, the table's does not.
            const long long tenths = std::llround(*seconds * 10.0);
            at +=
                std::snprintf(text + at, sizeof text - static_cast<std::size_t>(at),
                              "%s%s %s%lld.%lld s", at > 0 ? ", " : "", line, tenths < 0 ? "-" : "",
                              std::llabs(tenths) / 10, std::llabs(tenths) % 10);
        }
    };
    add("A", record.lineATimeS);
    add("B", record.lineBTimeS);
    return QString::fromLatin1(text, std::min(at, static_cast<int>(sizeof text) - 1));
}

FlightTableModel::Row FlightTableModel::makeRow(library::FlightRecord record) {
    Row row;
    row.date = localDate(record.downloadedAt);
    row.flightDay = q(library::flightDay(record));
    row.events = eventsText(record);
    // One conversion and one case fold per flight: this runs for the whole library.
    std::string all;
    all.reserve(record.rocket.size() + record.motor.size() + record.site.size() +
                record.notes.size() + record.comment.size() + 64);
    for (const std::string* part : {&record.rocket, &record.motor, &record.site, &record.notes,
                                    &record.comment, &record.downloadedAt}) {
        all += *part;
        all += '\n';
    }
    row.search =
        (QString::fromStdString(all) + row.date + QLatin1Char('\n') + row.flightDay).toLower();
    row.record = std::move(record);
    return row;
}

std::vector<FlightTableModel::Row> FlightTableModel::prepareRows(
    std::vector<library::FlightRecord> records) {
    std::vector<Row> rows;
    rows.reserve(records.size());
    for (library::FlightRecord& r : records) {
        rows.push_back(makeRow(std::move(r)));
    }
    return rows;
}

void FlightTableModel::setRows(std::vector<Row> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void FlightTableModel::setRecords(std::vector<library::FlightRecord> records) {
    setRows(prepareRows(std::move(records)));
}

void FlightTableModel::setUnits(analysis::UnitSystem units) {
    if (units == m_units) {
        return;
    }
    m_units = units;
    if (!m_rows.empty()) {
        emit dataChanged(index(0, Apogee), index(rowCount() - 1, Apogee));
    }
}

int FlightTableModel::rowOf(std::int64_t id) const {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].record.id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int FlightTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int FlightTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString FlightTableModel::apogeeText(const library::FlightRecord& record) const {
    if (!record.apogeeAglM) {
        return {};
    }
    QString text = altitudeText(*record.apogeeAglM, m_units);
    const auto sim = m_simApogees.find(record.id);
    if (sim != m_simApogees.end() && sim->second > 0.0) {
        const double pct = 100.0 * (*record.apogeeAglM - sim->second) / sim->second;
        text += QStringLiteral(" \u00b7 sim %1 (%2%3 %)")
                    .arg(altitudeText(sim->second, m_units),
                         pct > 0.0 ? QStringLiteral("+") : QString())
                    .arg(pct, 0, 'f', 1);
    }
    return text;
}

void FlightTableModel::setSimulatedApogees(std::unordered_map<std::int64_t, double> apogees) {
    m_simApogees = std::move(apogees);
    if (!m_rows.empty()) {
        emit dataChanged(index(0, Apogee), index(rowCount() - 1, Apogee));
    }
}

QVariant FlightTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount) {
        return {};
    }
    const Row& row = m_rows[static_cast<std::size_t>(index.row())];
    const ColumnLayout& layout = column(index.column());
    switch (role) {
        case IdRole:
            return QVariant::fromValue<qint64>(row.record.id);
        case Qt::TextAlignmentRole:
            return layout.rightAligned ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        case SortRole:
            if (layout.sortKey != nullptr) {
                return layout.sortKey(row);
            }
            return layout.field != nullptr ? q(row.record.*layout.field).toLower() : QVariant();
        case Qt::ToolTipRole:
            return layout.toolTip != nullptr ? QVariant(layout.toolTip(row)) : QVariant();
        case Qt::DisplayRole:
        case Qt::EditRole:
            if (layout.cell != nullptr) {
                return layout.cell(*this, row);
            }
            return layout.field != nullptr ? QVariant(q(row.record.*layout.field)) : QVariant();
        default:
            return {};
    }
}

QVariant FlightTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (section < 0 || section >= ColumnCount) {
        return {};
    }
    return QString::fromLatin1(column(section).header);
}

Qt::ItemFlags FlightTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() < ColumnCount && m_editor &&
        column(index.column()).edit != nullptr) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool FlightTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount() || !m_editor) {
        return false;
    }
    if (index.column() >= ColumnCount) {
        return false;
    }
    const ColumnLayout& layout = column(index.column());
    if (layout.field == nullptr || layout.edit == nullptr) {
        return false;
    }
    Row& row = m_rows[static_cast<std::size_t>(index.row())];
    std::string* text = &(row.record.*layout.field);
    library::FlightFields fields;
    std::optional<std::string>* changed = &(fields.*layout.edit);
    std::string wanted = value.toString().trimmed().toStdString();
    // Giving back the day shown (the download day) or nothing keeps the default.
    if (index.column() == FlightDate && (wanted.empty() || wanted == row.flightDay.toStdString())) {
        wanted = wanted.empty() ? std::string() : *text;
    }
    if (wanted == *text) {
        return true;
    }
    *changed = wanted;
    m_lastEditError = m_editor(row.record.id, fields);
    if (!m_lastEditError.isEmpty()) {
        emit editRefused(m_lastEditError);
        return false;
    }
    *text = wanted;
    row = makeRow(std::move(row.record));
    emit dataChanged(index, index);
    return true;
}

}  // namespace tevusb::ui
