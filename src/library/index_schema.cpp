// SPDX-License-Identifier: MIT
#include "library/index_schema.h"

#include <sqlite3.h>

#include <variant>

#include "library/sqlite_statement.h"

namespace tevusb::library::index_schema {

const std::vector<std::string>& migrations() {
    // AUTOINCREMENT so that an id a flyer has written down never names another flight
    // after a delete.
    static const std::vector<std::string> steps = {
        "CREATE TABLE flights ("
        " id INTEGER PRIMARY KEY AUTOINCREMENT,"
        " downloaded_at TEXT NOT NULL,"
        " firmware_version TEXT NOT NULL DEFAULT '',"
        " set_number INTEGER NOT NULL,"
        " readings INTEGER NOT NULL,"
        " duration_s REAL NOT NULL,"
        " statistics_flags INTEGER NOT NULL DEFAULT 0,"
        " apogee_agl_m REAL, apogee_msl_m REAL, apogee_time_s REAL,"
        " peak_velocity_ms REAL, peak_velocity_time_s REAL,"
        " line_a_time_s REAL, line_a_altitude_m REAL,"
        " line_b_time_s REAL, line_b_altitude_m REAL,"
        " drogue_rate_ms REAL, main_rate_ms REAL,"
        " launch_time_s REAL, landing_time_s REAL,"
        " comment TEXT NOT NULL DEFAULT '',"
        " rocket TEXT NOT NULL DEFAULT '',"
        " motor TEXT NOT NULL DEFAULT '',"
        " site TEXT NOT NULL DEFAULT '',"
        " notes TEXT NOT NULL DEFAULT '',"
        " archive_path TEXT NOT NULL UNIQUE,"
        " hash TEXT NOT NULL UNIQUE)",
        // The list is sorted by date far more often than by anything else.
        "CREATE INDEX flights_downloaded_at ON flights (downloaded_at)",
        // Flights still on the altimeter are recognised by their packets alone, whatever
        // settings were written since. Rows of older libraries are filled in on open.
        "ALTER TABLE flights ADD COLUMN packets_hash TEXT NOT NULL DEFAULT ''",
        "CREATE INDEX flights_packets_hash ON flights (packets_hash)",
        // Rocket profiles and the pre-flight checks made against them, in one step. A
        // check's known_packets are the packets-only hashes of the sets on the altimeter
        // when it ran, so the flight it is linked to is one made after it.
        "CREATE TABLE IF NOT EXISTS rocket_profiles ("
        " name TEXT PRIMARY KEY COLLATE NOCASE,"
        " line_a_mode INTEGER NOT NULL, line_a_value INTEGER,"
        " line_b_mode INTEGER NOT NULL, line_b_value INTEGER,"
        " inhibit_tenths INTEGER NOT NULL,"
        " min_battery_v REAL NOT NULL DEFAULT 7.0,"
        " expected_apogee_m REAL,"
        " notes TEXT NOT NULL DEFAULT '');"
        "CREATE TABLE IF NOT EXISTS preflight_checks ("
        " id INTEGER PRIMARY KEY AUTOINCREMENT,"
        " checked_at TEXT NOT NULL,"
        " profile TEXT NOT NULL,"
        " verdict TEXT NOT NULL,"
        " battery_v REAL, ground_msl_m REAL,"
        " flights_on_device INTEGER NOT NULL DEFAULT 0,"
        " flights_not_in_library INTEGER NOT NULL DEFAULT 0,"
        " memory_packets_used INTEGER NOT NULL DEFAULT 0,"
        " memory_full INTEGER NOT NULL DEFAULT 0,"
        " altimeter TEXT NOT NULL DEFAULT '',"
        " known_packets TEXT NOT NULL DEFAULT '',"
        " flight_id INTEGER);"
        "CREATE INDEX IF NOT EXISTS preflight_checks_flight ON preflight_checks (flight_id);"
        "CREATE TABLE IF NOT EXISTS preflight_items ("
        " check_id INTEGER NOT NULL REFERENCES preflight_checks (id) ON DELETE CASCADE,"
        " position INTEGER NOT NULL,"
        " name TEXT NOT NULL, status TEXT NOT NULL, text TEXT NOT NULL,"
        " PRIMARY KEY (check_id, position))",
        // A simulation kept with a flight: its copy in the library folder, the one chosen
        // in it, and its apogee for the list. It goes when its flight goes.
        "CREATE TABLE IF NOT EXISTS flight_simulations ("
        " flight_id INTEGER PRIMARY KEY,"
        " file TEXT NOT NULL,"
        " sim_name TEXT NOT NULL,"
        " sim_apogee_m REAL);"
        "CREATE TRIGGER IF NOT EXISTS flight_simulations_follow AFTER DELETE ON flights BEGIN"
        " DELETE FROM flight_simulations WHERE flight_id = old.id; END",
        // The day the flight flew, as the flyer gives it ("2026-12-06"); empty means the
        // download day, which is what every older row had to go on.
        "ALTER TABLE flights ADD COLUMN flight_date TEXT NOT NULL DEFAULT ''",
    };
    return steps;
}

namespace {

using R = FlightRecord;

// Every column of a record, in the order of the SELECT and INSERT lists; the one table
// that names, reads and binds them.
using Field = std::variant<std::int64_t R::*, int R::*, unsigned R::*, double R::*,
                           std::optional<double> R::*, std::string R::*>;
struct Column {
    const char* name;
    Field field;
};

const std::vector<Column>& columns() {
    static const std::vector<Column> table = {
        {"id", &R::id},
        {"downloaded_at", &R::downloadedAt},
        {"firmware_version", &R::firmwareVersion},
        {"set_number", &R::setNumber},
        {"readings", &R::readings},
        {"duration_s", &R::durationS},
        {"statistics_flags", &R::statisticsFlags},
        {"apogee_agl_m", &R::apogeeAglM},
        {"apogee_msl_m", &R::apogeeMslM},
        {"apogee_time_s", &R::apogeeTimeS},
        {"peak_velocity_ms", &R::peakVelocityMs},
        {"peak_velocity_time_s", &R::peakVelocityTimeS},
        {"line_a_time_s", &R::lineATimeS},
        {"line_a_altitude_m", &R::lineAAltitudeM},
        {"line_b_time_s", &R::lineBTimeS},
        {"line_b_altitude_m", &R::lineBAltitudeM},
        {"drogue_rate_ms", &R::drogueRateMs},
        {"main_rate_ms", &R::mainRateMs},
        {"launch_time_s", &R::launchTimeS},
        {"landing_time_s", &R::landingTimeS},
        {"comment", &R::comment},
        {"rocket", &R::rocket},
        {"motor", &R::motor},
        {"site", &R::site},
        {"notes", &R::notes},
        {"archive_path", &R::archivePath},
        {"hash", &R::hash},
        {"packets_hash", &R::packetsHash},
        {"flight_date", &R::flightDate},
    };
    return table;
}

template <class... F>
struct Overload : F... {
    using F::operator()...;
};
template <class... F>
Overload(F...) -> Overload<F...>;

}  // namespace

const std::string& columnList() {
    static const std::string list = [] {
        std::string text;
        for (const Column& c : columns()) {
            text += (text.empty() ? "" : ", ") + std::string(c.name);
        }
        return text;
    }();
    return list;
}

std::string placeholders() {
    std::string text;
    for (std::size_t i = 1; i <= columns().size(); ++i) {
        text += (i > 1 ? ", ?" : "?") + std::to_string(i);
    }
    return text;
}

FlightRecord readRecord(const SqliteStatement& row) {
    FlightRecord r;
    int c = 0;
    for (const Column& column : columns()) {
        std::visit(Overload{
                       [&](std::int64_t R::*f) { r.*f = row.integer(c); },
                       [&](int R::*f) { r.*f = static_cast<int>(row.integer(c)); },
                       [&](unsigned R::*f) { r.*f = static_cast<unsigned>(row.integer(c)); },
                       [&](double R::*f) { r.*f = row.real(c); },
                       [&](std::optional<double> R::*f) { r.*f = row.optionalReal(c); },
                       [&](std::string R::*f) { r.*f = row.text(c); },
                   },
                   column.field);
        ++c;
    }
    return r;
}

void bindRecord(SqliteStatement& s, const FlightRecord& r) {
    int c = 1;
    for (const Column& column : columns()) {
        std::visit(Overload{
                       [&](std::int64_t R::*f) {
                           // An id of 0 binds NULL, so SQLite picks the next one.
                           if (f == &R::id && r.id <= 0) {
                               s.bind(c, std::optional<double>());
                           } else {
                               s.bind(c, r.*f);
                           }
                       },
                       [&](int R::*f) { s.bind(c, static_cast<std::int64_t>(r.*f)); },
                       [&](unsigned R::*f) { s.bind(c, static_cast<std::int64_t>(r.*f)); },
                       [&](double R::*f) { s.bind(c, r.*f); },
                       [&](std::optional<double> R::*f) { s.bind(c, r.*f); },
                       [&](std::string R::*f) { s.bind(c, r.*f); },
                   },
                   column.field);
        ++c;
    }
}

}  // namespace tevusb::library::index_schema
