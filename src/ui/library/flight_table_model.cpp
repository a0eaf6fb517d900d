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

// The flyer's field shown in `column`, or null for the columns the program fills in.
template <typename Record>
auto field(Record& r, int column) -> decltype(&r.rocket) {
    switch (column) {
        case FlightTableModel::Rocket:
            return &r.rocket;
        case FlightTableModel::Motor:
            return &r.motor;
        case FlightTableModel::Site:
            return &r.site;
        case FlightTableModel::Comment:
            return &r.comment;
        case FlightTableModel::Notes:
            return &r.notes;
        case FlightTableModel::FlightDate:
            return &r.flightDate;
        default:
            return nullptr;
    }
}

std::optional<std::string>* fieldOf(library::FlightFields& f, int column) {
    switch (column) {
        case FlightTableModel::Rocket:
            return &f.rocket;
        case FlightTableModel::Motor:
            return &f.motor;
        case FlightTableModel::Site:
            return &f.site;
        case FlightTableModel::Comment:
            return &f.comment;
        case FlightTableModel::Notes:
            return &f.notes;
        case FlightTableModel::FlightDate:
            return &f.flightDate;
        default:
            return nullptr;
    }
}

}  // namespace

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
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const Row& row = m_rows[static_cast<std::size_t>(index.row())];
    const library::FlightRecord& r = row.record;
    if (role == IdRole) {
        return QVariant::fromValue<qint64>(r.id);
    }
    if (role == Qt::TextAlignmentRole &&
        (index.column() == Apogee || index.column() == SetNumber || index.column() == Id)) {
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role == SortRole) {
        switch (index.column()) {
            case Date:
                return q(r.downloadedAt);
            case FlightDate:
                return row.flightDay;
            case SetNumber:
                return r.setNumber;
            case Id:
                return QVariant::fromValue<qint64>(r.id);
            case Apogee:
                return r.apogeeAglM ? *r.apogeeAglM : -INFINITY;
            case Events:
                return row.events;
            default:
                break;
        }
        const std::string* text = field(r, index.column());
        return text != nullptr ? q(*text).toLower() : QVariant();
    }
    if (role == Qt::ToolTipRole && index.column() == Events) {
        return row.events.isEmpty()
                   ? QStringLiteral("Neither line fired")
                   : QStringLiteral("Seconds after the first reading: ") + row.events;
    }
    if (role == Qt::ToolTipRole && index.column() == Date) {
        return QStringLiteral("Set %1 of its download, %2 readings, firmware %3")
            .arg(r.setNumber)
            .arg(r.readings)
            .arg(r.firmwareVersion.empty() ? QStringLiteral("unknown") : q(r.firmwareVersion));
    }
    if (role == Qt::ToolTipRole && index.column() == FlightDate) {
        return r.flightDate.empty()
                   ? QStringLiteral("The download day; double-click to give the day it flew")
                   : QStringLiteral("The day it flew, as you gave it");
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) {
        return {};
    }
    switch (index.column()) {
        case Date:
            return row.date;
        case FlightDate:
            return row.flightDay;
        case SetNumber:
            return r.setNumber;
        case Id:
            return QVariant::fromValue<qint64>(r.id);
        case Apogee:
            return apogeeText(r);
        case Events:
            return row.events;
        default: {
            const std::string* text = field(r, index.column());
            return text != nullptr ? q(*text) : QVariant();
        }
    }
}

QVariant FlightTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
        case Date:
            return QStringLiteral("Downloaded");
        case FlightDate:
            return QStringLiteral("Flight date");
        case SetNumber:
            return QStringLiteral("Set");
        case Id:
            return QStringLiteral("Id");
        case Rocket:
            return QStringLiteral("Rocket");
        case Motor:
            return QStringLiteral("Motor");
        case Apogee:
            return QStringLiteral("Apogee");
        case Events:
            return QStringLiteral("Line A/B");
        case Site:
            return QStringLiteral("Site");
        case Comment:
            return QStringLiteral("Comment");
        case Notes:
            return QStringLiteral("Notes");
        default:
            return {};
    }
}

Qt::ItemFlags FlightTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    library::FlightFields probe;
    if (index.isValid() && m_editor && fieldOf(probe, index.column()) != nullptr) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool FlightTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount() || !m_editor) {
        return false;
    }
    Row& row = m_rows[static_cast<std::size_t>(index.row())];
    std::string* text = field(row.record, index.column());
    library::FlightFields fields;
    std::optional<std::string>* changed = fieldOf(fields, index.column());
    if (text == nullptr || changed == nullptr) {
        return false;
    }
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
