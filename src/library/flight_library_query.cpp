// SPDX-License-Identifier: MIT
#include <sqlite3.h>

#include "data/data_set_store.h"
#include "library/archive_files.h"
#include "library/archive_index.h"
#include "library/flight_library.h"
#include "library/flight_name.h"
#include "library/index_database.h"
#include "library/index_schema.h"
#include "library/sqlite_statement.h"

namespace tevusb::library {

namespace {

using namespace archive_index;

// Far beyond anything typed by hand; refuses what would only bloat the index.
constexpr std::size_t kLongestField = 64 * 1024;

const Outcome kNotOpen{LibraryStatus::NotOpen, "The flight library is not open.", 0};

const char* orderColumn(SortKey key) {
    switch (key) {
        case SortKey::DownloadedAt:
            return "downloaded_at";
        case SortKey::ApogeeAgl:
            return "apogee_agl_m";
        case SortKey::PeakVelocity:
            return "peak_velocity_ms";
        case SortKey::Duration:
            return "duration_s";
        case SortKey::Rocket:
            return "rocket COLLATE NOCASE";
        case SortKey::Motor:
            return "motor COLLATE NOCASE";
        case SortKey::Site:
            return "site COLLATE NOCASE";
        case SortKey::Id:
            break;
    }
    return "id";
}

// The filter as a LIKE pattern that matches it literally anywhere.
std::string likePattern(const std::string& filter) {
    std::string pattern = "%";
    for (const char c : filter) {
        if (c == '%' || c == '_' || c == '\\') {
            pattern.push_back('\\');
        }
        pattern.push_back(c);
    }
    return pattern + "%";
}

Outcome notFound(std::int64_t id) {
    return {LibraryStatus::NotFound,
            "There is no flight #" + std::to_string(id) + " in the library.", id};
}

Outcome outsideLibrary(const FlightRecord& r) {
    return {LibraryStatus::IndexDamaged,
            "The index names an archive file outside the library for flight #" +
                std::to_string(r.id) + " (" + r.archivePath +
                "); rebuild the library to recreate it from the archive files.",
            r.id};
}

std::optional<FlightRecord> fetch(IndexDatabase& db, std::int64_t id, Outcome& outcome) {
    SqliteStatement s(db.handle(),
                      "SELECT " + index_schema::columnList() + " FROM flights WHERE id = ?1");
    s.bind(1, id);
    const int rc = s.step();
    if (rc == SQLITE_ROW) {
        outcome = {};
        return index_schema::readRecord(s);
    }
    outcome = rc == SQLITE_DONE ? notFound(id) : db.failure(rc, "read the library index");
    return std::nullopt;
}

}  // namespace

std::vector<FlightRecord> FlightLibrary::list(const ListQuery& query, Outcome* outcome) const {
    std::lock_guard lock(m_mutex);
    std::vector<FlightRecord> records;
    Outcome result;
    if (!m_db) {
        result = kNotOpen;
    } else {
        std::string sql = "SELECT " + index_schema::columnList() + " FROM flights";
        if (!query.filter.empty()) {
            sql +=
                " WHERE rocket LIKE ?1 ESCAPE '\\' OR motor LIKE ?1 ESCAPE '\\'"
                " OR site LIKE ?1 ESCAPE '\\' OR notes LIKE ?1 ESCAPE '\\'"
                " OR comment LIKE ?1 ESCAPE '\\' OR downloaded_at LIKE ?1 ESCAPE '\\'";
        }
        const char* direction = query.descending ? " DESC" : " ASC";
        sql += std::string(" ORDER BY ") + orderColumn(query.sort) + direction + ", id" + direction;
        SqliteStatement s(m_db->handle(), sql);
        if (!query.filter.empty()) {
            s.bind(1, likePattern(query.filter));
        }
        int rc = 0;
        while ((rc = s.step()) == SQLITE_ROW) {
            records.push_back(index_schema::readRecord(s));
        }
        if (rc != SQLITE_DONE) {
            records.clear();
            result = m_db->failure(rc, "read the library index");
        }
    }
    if (outcome != nullptr) {
        *outcome = result;
    }
    return records;
}

std::vector<bool> FlightLibrary::holdsPackets(const std::vector<std::string>& packetHashes,
                                              Outcome* outcome) const {
    std::lock_guard lock(m_mutex);
    std::vector<bool> held(packetHashes.size(), false);
    Outcome result = kNotOpen;
    if (m_db) {
        result = {};
        for (std::size_t i = 0; i < packetHashes.size() && result.ok(); ++i) {
            SqliteStatement s(m_db->handle(),
                              "SELECT 1 FROM flights WHERE packets_hash = ?1 LIMIT 1");
            s.bind(1, packetHashes[i]);
            const int rc = s.step();
            if (rc == SQLITE_ROW) {
                held[i] = true;
            } else if (rc != SQLITE_DONE) {
                held.assign(packetHashes.size(), false);
                result = m_db->failure(rc, "read the library index");
            }
        }
    }
    if (outcome != nullptr) {
        *outcome = result;
    }
    return held;
}

std::optional<FlightRecord> FlightLibrary::get(std::int64_t id, Outcome* outcome) const {
    std::lock_guard lock(m_mutex);
    Outcome result = kNotOpen;
    std::optional<FlightRecord> record;
    if (m_db) {
        record = fetch(*m_db, id, result);
    }
    if (outcome != nullptr) {
        *outcome = result;
    }
    return record;
}

std::optional<FlightRecord> FlightLibrary::findArchived(const std::filesystem::path& file,
                                                        Outcome* outcome) const {
    // Compared as the index stores it: relative to the folder, '/' separated, with links
    // and ".." resolved on both sides so that any spelling of the file is found.
    std::error_code ec;
    const auto folder = std::filesystem::weakly_canonical(m_folder, ec);
    const auto where = std::filesystem::weakly_canonical(std::filesystem::absolute(file, ec), ec);
    const std::string relative = where.lexically_relative(folder).generic_string();
    std::lock_guard lock(m_mutex);
    Outcome result = kNotOpen;
    std::optional<FlightRecord> record;
    if (m_db) {
        result = {LibraryStatus::NotFound, "The file is not one of the library's flights.", 0};
        if (!ec && isArchivePath(relative)) {
            SqliteStatement s(m_db->handle(), "SELECT " + index_schema::columnList() +
                                                  " FROM flights WHERE archive_path = ?1");
            s.bind(1, relative);
            const int rc = s.step();
            if (rc == SQLITE_ROW) {
                record = index_schema::readRecord(s);
                result = {};
            } else if (rc != SQLITE_DONE) {
                result = m_db->failure(rc, "read the library index");
            }
        }
    }
    if (outcome != nullptr) {
        *outcome = result;
    }
    return record;
}

Outcome FlightLibrary::edit(std::int64_t id, const FlightFields& fields) {
    std::lock_guard lock(m_mutex);
    if (!m_db) {
        return kNotOpen;
    }
    const std::pair<const char*, const std::optional<std::string>*> columns[] = {
        {"rocket", &fields.rocket},   {"motor", &fields.motor},
        {"site", &fields.site},       {"notes", &fields.notes},
        {"comment", &fields.comment}, {"flight_date", &fields.flightDate}};
    if (fields.flightDate && !fields.flightDate->empty() && !isCalendarDate(*fields.flightDate)) {
        return {LibraryStatus::WriteFailed,
                "The flight date \"" + fields.flightDate->substr(0, 40) +
                    "\" is not a date of the form 2026-12-06.",
                id};
    }
    std::string sets;
    std::vector<const std::string*> values;
    for (const auto& [column, value] : columns) {
        if (!value->has_value()) {
            continue;
        }
        if ((*value)->size() > kLongestField) {
            return {LibraryStatus::WriteFailed,
                    std::string("The ") + column + " text is too long (at most 64 KiB).", id};
        }
        sets += (sets.empty() ? "" : ", ") + std::string(column) + " = ?" +
                std::to_string(values.size() + 2);
        values.push_back(&**value);
    }
    Outcome found;
    if (!fetch(*m_db, id, found)) {
        return found;
    }
    if (values.empty()) {
        return {LibraryStatus::Ok, "", id};
    }
    SqliteStatement s(m_db->handle(), "UPDATE flights SET " + sets + " WHERE id = ?1");
    s.bind(1, id);
    for (std::size_t i = 0; i < values.size(); ++i) {
        s.bind(static_cast<int>(i + 2), *values[i]);
    }
    const int rc = s.step();
    if (rc != SQLITE_DONE) {
        return m_db->failure(rc, "change flight #" + std::to_string(id));
    }
    return {LibraryStatus::Ok, "", id};
}

Outcome FlightLibrary::remove(std::int64_t id) {
    std::lock_guard lock(m_mutex);
    if (!m_db) {
        return kNotOpen;
    }
    Outcome found;
    const auto record = fetch(*m_db, id, found);
    if (!record) {
        return found;
    }
    if (!isArchivePath(record->archivePath)) {
        return outsideLibrary(*record);
    }
    Outcome started = m_db->begin();
    if (!started.ok()) {
        return started;
    }
    SqliteStatement s(m_db->handle(), "DELETE FROM flights WHERE id = ?1");
    s.bind(1, id);
    if (const int rc = s.step(); rc != SQLITE_DONE) {
        m_db->rollback();
        return m_db->failure(rc, "remove flight #" + std::to_string(id));
    }
    // The file moves inside the transaction: a crash after the move leaves a row whose
    // file is in deleted/, which the next open() finishes removing.
    const auto from = m_folder / record->archivePath;
    std::error_code ec;
    if (std::filesystem::exists(from, ec)) {
        const auto base = m_folder / kDeletedFolder / record->archivePath;
        std::string error;
        if (!archive_files::makeFolders(base.parent_path(), error)) {
            m_db->rollback();
            return {LibraryStatus::WriteFailed, error, id};
        }
        auto to = base;
        for (int k = 2; std::filesystem::exists(to, ec); ++k) {
            to = base.parent_path() / (base.stem().string() + "-" + std::to_string(k) + ".tev");
        }
        if (!archive_files::moveNew(from, to, error)) {
            m_db->rollback();
            return {LibraryStatus::WriteFailed, error, id};
        }
        Outcome committed = m_db->commit();
        if (!committed.ok()) {
            archive_files::moveNew(to, from, error);
        }
        committed.id = id;
        return committed;
    }
    Outcome committed = m_db->commit();
    committed.id = id;
    return committed;
}

Outcome FlightLibrary::exportFlight(std::int64_t id, ExportFormat format,
                                    const std::filesystem::path& target) const {
    std::lock_guard lock(m_mutex);
    if (!m_db) {
        return kNotOpen;
    }
    Outcome found;
    const auto record = fetch(*m_db, id, found);
    if (!record) {
        return found;
    }
    if (!isArchivePath(record->archivePath)) {
        return outsideLibrary(*record);
    }
    const auto source = m_folder / record->archivePath;
    // An export over the archive itself would rewrite a file that must stay as written.
    std::error_code ec;
    const auto flights = std::filesystem::weakly_canonical(m_folder / kFlightsFolder, ec);
    const auto where = std::filesystem::weakly_canonical(std::filesystem::absolute(target), ec);
    const auto rel = where.lexically_relative(flights);
    if (!rel.empty() && *rel.begin() != "..") {
        return {LibraryStatus::WriteFailed,
                "Will not write into the library's archive folder " + flights.string() + ".", id};
    }
    data::DataSetStore store;
    if (!store.loadSetFile(source)) {
        return {LibraryStatus::BadFile,
                "The archive file " + source.string() + " of flight #" + std::to_string(id) +
                    " is missing or unreadable.",
                id};
    }
    store.comments.assign(1, record->comment);
    bool written = false;
    switch (format) {
        case ExportFormat::Tev:
            written = store.saveSetFile(target, 0);
            break;
        case ExportFormat::Csv:
            written = store.exportCsv(target, 0);
            break;
        case ExportFormat::Xml:
            written = store.exportXml(target, 0);
            break;
    }
    if (!written) {
        return {LibraryStatus::WriteFailed, "Cannot write " + target.string() + ".", id};
    }
    return {LibraryStatus::Ok, "", id};
}

}  // namespace tevusb::library
