// SPDX-License-Identifier: MIT
#include "library/rocket_profiles.h"

#include <sqlite3.h>

#include "library/index_database.h"
#include "library/sqlite_statement.h"

namespace tevusb::library {

namespace {

const char* kColumns =
    "name, line_a_mode, line_a_value, line_b_mode, line_b_value, inhibit_tenths, "
    "min_battery_v, expected_apogee_m, notes";

std::optional<std::uint16_t> optionalValue(const SqliteStatement& s, int column) {
    if (s.isNull(column)) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(s.integer(column));
}

settings::RocketProfile readProfile(const SqliteStatement& s) {
    settings::RocketProfile p;
    p.name = s.text(0);
    p.lineA = {static_cast<std::uint8_t>(s.integer(1)), optionalValue(s, 2)};
    p.lineB = {static_cast<std::uint8_t>(s.integer(3)), optionalValue(s, 4)};
    p.inhibitTime = static_cast<std::uint16_t>(s.integer(5));
    p.minBatteryV = s.real(6);
    p.expectedApogeeM = s.optionalReal(7);
    p.notes = s.text(8);
    // A value the mode does not use is never shown or compared.
    p.lineA = settings::profileLine(p.lineA.mode, p.lineA.value.value_or(0));
    p.lineB = settings::profileLine(p.lineB.mode, p.lineB.value.value_or(0));
    return p;
}

void bindValue(SqliteStatement& s, int index, const settings::ProfileLine& line) {
    if (line.value && settings::modeUsesValue(line.mode)) {
        s.bind(index, static_cast<std::int64_t>(*line.value));
    } else {
        s.bind(index, std::optional<double>());
    }
}

Outcome notFound(const std::string& name) {
    return {LibraryStatus::NotFound, "There is no rocket profile called \"" + name + "\".", 0};
}

}  // namespace

std::vector<settings::RocketProfile> listProfiles(const FlightLibrary& library, Outcome* outcome) {
    std::vector<settings::RocketProfile> profiles;
    const Outcome result = library.withIndex([&](IndexDatabase& db) -> Outcome {
        SqliteStatement s(db.handle(), std::string("SELECT ") + kColumns +
                                           " FROM rocket_profiles ORDER BY name COLLATE NOCASE");
        int rc = 0;
        while ((rc = s.step()) == SQLITE_ROW) {
            profiles.push_back(readProfile(s));
        }
        return rc == SQLITE_DONE ? Outcome{} : db.failure(rc, "read the rocket profiles");
    });
    if (outcome != nullptr) {
        *outcome = result;
    }
    return profiles;
}

std::optional<settings::RocketProfile> findProfile(const FlightLibrary& library,
                                                   const std::string& name, Outcome* outcome) {
    std::optional<settings::RocketProfile> profile;
    const Outcome result = library.withIndex([&](IndexDatabase& db) -> Outcome {
        SqliteStatement s(db.handle(), std::string("SELECT ") + kColumns +
                                           " FROM rocket_profiles WHERE name = ?1");
        s.bind(1, name);
        const int rc = s.step();
        if (rc == SQLITE_ROW) {
            profile = readProfile(s);
            return {};
        }
        return rc == SQLITE_DONE ? notFound(name) : db.failure(rc, "read the rocket profiles");
    });
    if (outcome != nullptr) {
        *outcome = result;
    }
    return profile;
}

Outcome saveProfile(const FlightLibrary& library, const settings::RocketProfile& p) {
    if (const std::string problem = settings::profileProblem(p); !problem.empty()) {
        return {LibraryStatus::BadFile, problem, 0};
    }
    return library.withIndex([&](IndexDatabase& db) -> Outcome {
        SqliteStatement s(db.handle(), std::string("INSERT OR REPLACE INTO rocket_profiles (") +
                                           kColumns +
                                           ") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
        s.bind(1, p.name);
        s.bind(2, static_cast<std::int64_t>(p.lineA.mode));
        bindValue(s, 3, p.lineA);
        s.bind(4, static_cast<std::int64_t>(p.lineB.mode));
        bindValue(s, 5, p.lineB);
        s.bind(6, static_cast<std::int64_t>(p.inhibitTime));
        s.bind(7, p.minBatteryV);
        s.bind(8, p.expectedApogeeM);
        s.bind(9, p.notes);
        const int rc = s.step();
        return rc == SQLITE_DONE ? Outcome{} : db.failure(rc, "save the rocket profile " + p.name);
    });
}

Outcome renameProfile(const FlightLibrary& library, const std::string& from,
                      const std::string& to) {
    settings::RocketProfile probe;
    probe.name = to;
    if (const std::string problem = settings::profileProblem(probe); !problem.empty()) {
        return {LibraryStatus::BadFile, problem, 0};
    }
    return library.withIndex([&](IndexDatabase& db) -> Outcome {
        {
            SqliteStatement taken(db.handle(), "SELECT name FROM rocket_profiles WHERE name = ?1");
            taken.bind(1, to);
            // Renaming "nova" to "Nova" is a change of spelling, not a clash.
            if (taken.step() == SQLITE_ROW && sqlite3_stricmp(from.c_str(), to.c_str()) != 0) {
                return {LibraryStatus::Duplicate,
                        "There is already a rocket profile called \"" + taken.text(0) + "\".", 0};
            }
        }
        SqliteStatement s(db.handle(), "UPDATE rocket_profiles SET name = ?2 WHERE name = ?1");
        s.bind(1, from);
        s.bind(2, to);
        const int rc = s.step();
        if (rc != SQLITE_DONE) {
            return db.failure(rc, "rename the rocket profile " + from);
        }
        return sqlite3_changes(db.handle()) > 0 ? Outcome{} : notFound(from);
    });
}

Outcome deleteProfile(const FlightLibrary& library, const std::string& name) {
    return library.withIndex([&](IndexDatabase& db) -> Outcome {
        SqliteStatement s(db.handle(), "DELETE FROM rocket_profiles WHERE name = ?1");
        s.bind(1, name);
        const int rc = s.step();
        if (rc != SQLITE_DONE) {
            return db.failure(rc, "delete the rocket profile " + name);
        }
        return sqlite3_changes(db.handle()) > 0 ? Outcome{} : notFound(name);
    });
}

}  // namespace tevusb::library
