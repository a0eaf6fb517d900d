// SPDX-License-Identifier: MIT
#include "library/preflight_record.h"

#include <sqlite3.h>

#include <algorithm>

#include "data/data_set_store.h"
#include "library/archive_name.h"
#include "library/flight_hash.h"
#include "library/index_database.h"
#include "library/sqlite_statement.h"

namespace tevusb::library {

namespace {

const char* kCheckColumns =
    "id, checked_at, profile, verdict, battery_v, ground_msl_m, flights_on_device, "
    "flights_not_in_library, memory_packets_used, memory_full, altimeter, flight_id";

std::string joinedHashes(const std::vector<data::MemoryPacket>& packets) {
    data::DataSetStore image;
    image.packets = packets;
    std::string joined;
    for (int k = 0; k < image.setCount(); ++k) {
        const auto first = static_cast<std::size_t>(image.setAddress(k));
        const auto count = static_cast<std::size_t>(image.packetCount(k));
        joined += (joined.empty() ? "" : ",") + packetsHash(image.packets.data() + first, count);
    }
    return joined;
}

data::CheckStatus statusOf(const std::string& name) {
    if (name == "ok") {
        return data::CheckStatus::Ok;
    }
    return name == "warning" ? data::CheckStatus::Warning : data::CheckStatus::NoGo;
}

PreflightRecord readCheck(const SqliteStatement& s) {
    PreflightRecord r;
    r.id = s.integer(0);
    r.checkedAt = s.text(1);
    r.report.profile = s.text(2);
    r.report.batteryV = s.optionalReal(4);
    r.report.groundMslM = s.optionalReal(5);
    r.report.flightsOnDevice = static_cast<int>(s.integer(6));
    r.report.flightsNotInLibrary = static_cast<int>(s.integer(7));
    r.report.memoryPacketsUsed = static_cast<int>(s.integer(8));
    r.report.memoryFull = s.integer(9) != 0;
    r.altimeter = s.text(10);
    if (!s.isNull(11)) {
        r.flightId = s.integer(11);
    }
    return r;
}

Outcome readItems(IndexDatabase& db, PreflightRecord& r) {
    SqliteStatement s(db.handle(),
                      "SELECT name, status, text FROM preflight_items WHERE check_id = ?1 "
                      "ORDER BY position");
    s.bind(1, r.id);
    int rc = 0;
    while ((rc = s.step()) == SQLITE_ROW) {
        r.report.items.push_back({s.text(0), statusOf(s.text(1)), s.text(2)});
    }
    return rc == SQLITE_DONE ? Outcome{} : db.failure(rc, "read the pre-flight checks");
}

Outcome readChecks(IndexDatabase& db, const std::string& where, std::int64_t parameter,
                   std::vector<PreflightRecord>& out) {
    SqliteStatement s(db.handle(),
                      std::string("SELECT ") + kCheckColumns + " FROM preflight_checks " + where);
    s.bind(1, parameter);
    int rc = 0;
    while ((rc = s.step()) == SQLITE_ROW) {
        out.push_back(readCheck(s));
    }
    if (rc != SQLITE_DONE) {
        return db.failure(rc, "read the pre-flight checks");
    }
    for (PreflightRecord& r : out) {
        if (Outcome items = readItems(db, r); !items.ok()) {
            return items;
        }
    }
    return {};
}

}  // namespace

Outcome recordPreflight(const FlightLibrary& library, const data::PreflightReport& report,
                        const std::string& altimeter,
                        const std::vector<data::MemoryPacket>& packets, std::int64_t* id) {
    const std::string known = joinedHashes(packets);
    return library.withIndex([&](IndexDatabase& db) -> Outcome {
        if (Outcome started = db.begin(); !started.ok()) {
            return started;
        }
        SqliteStatement s(db.handle(),
                          "INSERT INTO preflight_checks (checked_at, profile, verdict, battery_v, "
                          "ground_msl_m, flights_on_device, flights_not_in_library, "
                          "memory_packets_used, memory_full, altimeter, known_packets) VALUES "
                          "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
        s.bind(1, isoUtc(std::chrono::system_clock::now()));
        s.bind(2, report.profile);
        s.bind(3, std::string(data::verdictName(report.go())));
        s.bind(4, report.batteryV);
        s.bind(5, report.groundMslM);
        s.bind(6, static_cast<std::int64_t>(report.flightsOnDevice));
        s.bind(7, static_cast<std::int64_t>(report.flightsNotInLibrary));
        s.bind(8, static_cast<std::int64_t>(report.memoryPacketsUsed));
        s.bind(9, static_cast<std::int64_t>(report.memoryFull ? 1 : 0));
        s.bind(10, altimeter);
        s.bind(11, known);
        if (const int rc = s.step(); rc != SQLITE_DONE) {
            const Outcome failed = db.failure(rc, "record the pre-flight check");
            db.rollback();
            return failed;
        }
        const std::int64_t checkId = sqlite3_last_insert_rowid(db.handle());
        for (std::size_t i = 0; i < report.items.size(); ++i) {
            const data::PreflightItem& item = report.items[i];
            SqliteStatement row(db.handle(),
                                "INSERT INTO preflight_items (check_id, position, name, status, "
                                "text) VALUES (?1, ?2, ?3, ?4, ?5)");
            row.bind(1, checkId);
            row.bind(2, static_cast<std::int64_t>(i));
            row.bind(3, item.name);
            row.bind(4, std::string(data::checkStatusName(item.status)));
            row.bind(5, item.text);
            if (const int rc = row.step(); rc != SQLITE_DONE) {
                const Outcome failed = db.failure(rc, "record the pre-flight check");
                db.rollback();
                return failed;
            }
        }
        if (id != nullptr) {
            *id = checkId;
        }
        return db.commit();
    });
}

std::optional<PreflightRecord> preflightBeforeFlight(const FlightLibrary& library,
                                                     std::int64_t flightId, Outcome* outcome) {
    std::vector<PreflightRecord> found;
    const Outcome result = library.withIndex([&](IndexDatabase& db) {
        return readChecks(db, "WHERE flight_id = ?1 ORDER BY id DESC LIMIT 1", flightId, found);
    });
    if (outcome != nullptr) {
        *outcome = result;
    }
    if (found.empty()) {
        return std::nullopt;
    }
    return found.front();
}

std::vector<PreflightRecord> latestPreflights(const FlightLibrary& library, int count,
                                              Outcome* outcome) {
    std::vector<PreflightRecord> found;
    const Outcome result = library.withIndex([&](IndexDatabase& db) {
        return readChecks(db, "ORDER BY id DESC LIMIT ?1", count, found);
    });
    if (outcome != nullptr) {
        *outcome = result;
    }
    return found;
}

void linkPreflightCheck(IndexDatabase& db, const std::string& altimeter,
                        const std::vector<std::pair<std::int64_t, std::string>>& added) {
    if (added.empty()) {
        return;
    }
    std::int64_t checkId = 0;
    std::string known;
    {
        SqliteStatement s(db.handle(),
                          "SELECT id, known_packets, flight_id FROM preflight_checks "
                          "WHERE altimeter = ?1 ORDER BY id DESC LIMIT 1");
        s.bind(1, altimeter);
        if (s.step() != SQLITE_ROW || !s.isNull(2)) {
            return;
        }
        checkId = s.integer(0);
        known = "," + s.text(1) + ",";
    }
    const auto made = std::find_if(added.begin(), added.end(), [&](const auto& flight) {
        return known.find("," + flight.second + ",") == std::string::npos;
    });
    if (made == added.end()) {
        return;
    }
    SqliteStatement s(db.handle(), "UPDATE preflight_checks SET flight_id = ?1 WHERE id = ?2");
    s.bind(1, made->first);
    s.bind(2, checkId);
    s.step();
}

std::vector<std::string> preflightLines(const PreflightRecord& record) {
    std::string when = record.checkedAt;
    std::replace(when.begin(), when.end(), 'T', ' ');
    if (!when.empty() && when.back() == 'Z') {
        when.pop_back();
        when += " UTC";
    }
    std::vector<std::string> lines = {when + ": " +
                                      std::string(data::verdictName(record.report.go())) +
                                      " for the rocket profile \"" + record.report.profile + "\""};
    for (const data::PreflightItem& item : record.report.items) {
        lines.push_back(item.name + " " + std::string(data::checkStatusName(item.status)) + ": " +
                        item.text);
    }
    return lines;
}

}  // namespace tevusb::library
