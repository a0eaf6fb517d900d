// SPDX-License-Identifier: MIT
#include "library/kept_tables.h"

#include <sqlite3.h>

#include <algorithm>

#include "library/index_database.h"

namespace tevusb::library {

namespace {

// In the order they can be put back: a check's items refer to the check.
constexpr const char* kTables[] = {"rocket_profiles", "preflight_checks", "preflight_items"};

std::vector<std::string> columnsOf(IndexDatabase& db, const std::string& table) {
    std::vector<std::string> names;
    SqliteStatement s(db.handle(), "SELECT name FROM pragma_table_info(?1)");
    s.bind(1, table);
    while (s.step() == SQLITE_ROW) {
        names.push_back(s.text(0));
    }
    return names;
}

std::string sqlName(const std::string& name) {
    std::string q = "\"";
    for (const char c : name) {
        q += c;
        if (c == '"') {
            q += '"';
        }
    }
    return q + "\"";
}

std::string plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::vector<KeptTable> keepIndexOnlyTables(IndexDatabase& from) {
    std::vector<KeptTable> kept;
    for (const char* name : kTables) {
        KeptTable t{name, {}, {}};
        SqliteStatement s(from.handle(), "SELECT * FROM " + sqlName(t.name));
        if (!s.valid()) {
            continue;
        }
        for (int c = 0; c < s.columnCount(); ++c) {
            t.columns.push_back(s.columnName(c));
        }
        while (s.step() == SQLITE_ROW) {
            auto& row = t.rows.emplace_back();
            for (int c = 0; c < s.columnCount(); ++c) {
                row.push_back(s.value(c));
            }
        }
        kept.push_back(std::move(t));
    }
    return kept;
}

int restoreKeptTables(IndexDatabase& to, const std::vector<KeptTable>& tables) {
    for (const auto& t : tables) {
        const auto present = columnsOf(to, t.name);
        std::vector<std::size_t> used;
        std::string names, marks;
        for (std::size_t c = 0; c < t.columns.size(); ++c) {
            if (std::find(present.begin(), present.end(), t.columns[c]) == present.end()) {
                continue;  // a column of a newer layout this program does not know
            }
            used.push_back(c);
            names += (names.empty() ? "" : ", ") + sqlName(t.columns[c]);
            marks += (marks.empty() ? "?" : ", ?") + std::to_string(used.size());
        }
        if (used.empty() || t.rows.empty()) {
            continue;
        }
        const std::string sql =
            "INSERT OR IGNORE INTO " + sqlName(t.name) + " (" + names + ") VALUES (" + marks + ")";
        for (const auto& row : t.rows) {
            SqliteStatement s(to.handle(), sql);
            if (!s.valid()) {
                return s.prepareCode();
            }
            for (std::size_t k = 0; k < used.size(); ++k) {
                s.bind(static_cast<int>(k + 1), row[used[k]]);
            }
            // A row the new layout refuses (a NOT NULL column it added) is dropped, not
            // the whole rebuild.
            if (const int rc = s.step(); rc != SQLITE_DONE && (rc & 0xff) != SQLITE_CONSTRAINT) {
                return rc;
            }
        }
    }
    return SQLITE_OK;
}

std::string keptTablesSummary(const std::vector<KeptTable>& tables) {
    std::size_t profiles = 0, checks = 0;
    for (const auto& t : tables) {
        if (t.name == "rocket_profiles") {
            profiles = t.rows.size();
        } else if (t.name == "preflight_checks") {
            checks = t.rows.size();
        }
    }
    if (profiles == 0 && checks == 0) {
        return {};
    }
    return plural(profiles, "rocket profile", "rocket profiles") + " and " +
           plural(checks, "pre-flight check", "pre-flight checks");
}

}  // namespace tevusb::library
