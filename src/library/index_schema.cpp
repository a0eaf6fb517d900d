// SPDX-License-Identifier: MIT
#include "library/index_schema.h"

#include <sqlite3.h>

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
    };
    return steps;
}

const char* const kColumns =
    "id, downloaded_at, firmware_version, set_number, readings, duration_s, statistics_flags,"
    " apogee_agl_m, apogee_msl_m, apogee_time_s, peak_velocity_ms, peak_velocity_time_s,"
    " line_a_time_s, line_a_altitude_m, line_b_time_s, line_b_altitude_m,"
    " drogue_rate_ms, main_rate_ms, launch_time_s, landing_time_s,"
    " comment, rocket, motor, site, notes, archive_path, hash";

namespace {
constexpr int kColumnCount = 27;
}

std::string placeholders() {
    std::string text;
    for (int i = 1; i <= kColumnCount; ++i) {
        text += (i > 1 ? ", ?" : "?") + std::to_string(i);
    }
    return text;
}

FlightRecord readRecord(const SqliteStatement& row) {
    FlightRecord r;
    int c = 0;
    r.id = row.integer(c++);
    r.downloadedAt = row.text(c++);
    r.firmwareVersion = row.text(c++);
    r.setNumber = static_cast<int>(row.integer(c++));
    r.readings = row.integer(c++);
    r.durationS = row.real(c++);
    r.statisticsFlags = static_cast<unsigned>(row.integer(c++));
    for (auto* field :
         {&r.apogeeAglM, &r.apogeeMslM, &r.apogeeTimeS, &r.peakVelocityMs, &r.peakVelocityTimeS,
          &r.lineATimeS, &r.lineAAltitudeM, &r.lineBTimeS, &r.lineBAltitudeM, &r.drogueRateMs,
          &r.mainRateMs, &r.launchTimeS, &r.landingTimeS}) {
        *field = row.optionalReal(c++);
    }
    for (auto* field :
         {&r.comment, &r.rocket, &r.motor, &r.site, &r.notes, &r.archivePath, &r.hash}) {
        *field = row.text(c++);
    }
    return r;
}

void bindRecord(SqliteStatement& s, const FlightRecord& r) {
    int c = 1;
    if (r.id > 0) {
        s.bind(c++, r.id);
    } else {
        s.bind(c++, std::optional<double>());
    }
    s.bind(c++, r.downloadedAt);
    s.bind(c++, r.firmwareVersion);
    s.bind(c++, static_cast<std::int64_t>(r.setNumber));
    s.bind(c++, r.readings);
    s.bind(c++, r.durationS);
    s.bind(c++, static_cast<std::int64_t>(r.statisticsFlags));
    for (const auto* field :
         {&r.apogeeAglM, &r.apogeeMslM, &r.apogeeTimeS, &r.peakVelocityMs, &r.peakVelocityTimeS,
          &r.lineATimeS, &r.lineAAltitudeM, &r.lineBTimeS, &r.lineBAltitudeM, &r.drogueRateMs,
          &r.mainRateMs, &r.launchTimeS, &r.landingTimeS}) {
        s.bind(c++, *field);
    }
    for (const auto* field :
         {&r.comment, &r.rocket, &r.motor, &r.site, &r.notes, &r.archivePath, &r.hash}) {
        s.bind(c++, *field);
    }
}

}  // namespace tevusb::library::index_schema
