// SPDX-License-Identifier: MIT
#include "library/index_database.h"

#include <sqlite3.h>

#include "library/index_schema.h"
#include "library/sqlite_statement.h"

namespace tevusb::library {

namespace {

// Long enough for another program's archive or rebuild transaction to finish.
constexpr int kBusyTimeoutMs = 10000;
// Anything shorter cannot hold even the database header and its first page.
constexpr std::uintmax_t kSmallestIndex = 512;

Outcome refused(LibraryStatus status, std::string message) {
    return Outcome{status, std::move(message), 0};
}

// SQLite takes file names in UTF-8; Windows keeps them as UTF-16.
std::string sqliteName(const std::filesystem::path& file) {
#if defined(_WIN32)
    const std::u8string name = file.u8string();
    return std::string(name.begin(), name.end());
#else
    return file.native();
#endif
}

}  // namespace

std::unique_ptr<IndexDatabase> IndexDatabase::open(const std::filesystem::path& file,
                                                   Outcome& outcome) {
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        // An empty file is what SQLite leaves when the first program to open the library
        // died before its first write: a fresh index, not a damaged one.
        const auto size = std::filesystem::file_size(file, ec);
        if (ec || (size > 0 && size < kSmallestIndex)) {
            outcome = refused(LibraryStatus::IndexDamaged,
                              "The library index " + file.string() +
                                  " is damaged (truncated); rebuild the library to recreate "
                                  "it from the archive files.");
            return nullptr;
        }
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(sqliteName(file).c_str(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<IndexDatabase> index(new IndexDatabase(db, file));
    if (rc != SQLITE_OK) {
        outcome = index->failure(rc, "open the library index " + file.string());
        return nullptr;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // Until the index is known to be ours, closing must not checkpoint a WAL into it.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    outcome = index->prepare();
    if (!outcome.ok()) {
        return nullptr;
    }
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    return index;
}

std::unique_ptr<IndexDatabase> IndexDatabase::openReadOnly(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(sqliteName(file).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::unique_ptr<IndexDatabase> index(new IndexDatabase(db, file));
    if (rc != SQLITE_OK) {
        return nullptr;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    return index;
}

IndexDatabase::~IndexDatabase() {
    sqlite3_close_v2(m_db);
}

int IndexDatabase::exec(const std::string& sql) {
    return sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr);
}

Outcome IndexDatabase::prepare() {
    // The version is read before anything that writes (WAL mode rewrites the header), so a
    // newer program's index is never modified.
    int version = 0;
    {
        SqliteStatement s(m_db, "PRAGMA user_version");
        const int rc = s.step();
        if (rc != SQLITE_ROW) {
            return failure(rc, "read the library index " + m_file.string());
        }
        version = static_cast<int>(s.integer(0));
    }
    if (version > index_schema::kSchemaVersion) {
        return refused(LibraryStatus::IndexNewer, "The library index " + m_file.string() +
                                                      " was written by a newer "
                                                      "tevusb (schema " +
                                                      std::to_string(version) +
                                                      ", this one knows up to " +
                                                      std::to_string(index_schema::kSchemaVersion) +
                                                      "); it is left as it is.");
    }
    if (version == 0) {
        SqliteStatement s(m_db, "SELECT count(*) FROM sqlite_master");
        const int rc = s.step();
        if (rc != SQLITE_ROW) {
            return failure(rc, "read the library index " + m_file.string());
        }
        if (s.integer(0) != 0) {
            return refused(LibraryStatus::IndexDamaged,
                           "The library index " + m_file.string() +
                               " is not a flight library index; rebuild the library to "
                               "recreate it from the archive files.");
        }
    }
    int rc = exec("PRAGMA journal_mode=WAL");
    if (rc == SQLITE_OK) {
        // Every committed row reaches the disk before the call returns.
        rc = exec("PRAGMA synchronous=FULL");
    }
    if (rc != SQLITE_OK) {
        return failure(rc, "prepare the library index " + m_file.string());
    }
    if (version < index_schema::kSchemaVersion) {
        Outcome migrated = migrate();
        if (!migrated.ok()) {
            return migrated;
        }
    }
    SqliteStatement layout(m_db, "SELECT " + index_schema::columnList() + " FROM flights LIMIT 0");
    if (!layout.valid()) {
        return refused(LibraryStatus::IndexDamaged,
                       "The library index " + m_file.string() +
                           " has the wrong layout; rebuild the library to recreate it from "
                           "the archive files.");
    }
    return {};
}

Outcome IndexDatabase::migrate() {
    Outcome started = begin();
    if (!started.ok()) {
        return started;
    }
    // Read again inside the transaction: another program may have migrated meanwhile.
    int version = 0;
    {
        SqliteStatement s(m_db, "PRAGMA user_version");
        const int rc = s.step();
        if (rc != SQLITE_ROW) {
            rollback();
            return failure(rc, "read the library index " + m_file.string());
        }
        version = static_cast<int>(s.integer(0));
    }
    const auto& steps = index_schema::migrations();
    for (int v = version; v < index_schema::kSchemaVersion; ++v) {
        const int rc = exec(steps[static_cast<std::size_t>(v)]);
        if (rc != SQLITE_OK) {
            const Outcome failed = failure(rc, "update the library index " + m_file.string() +
                                                   " to schema " + std::to_string(v + 1));
            rollback();
            return failed;
        }
    }
    if (version < index_schema::kSchemaVersion) {
        exec("PRAGMA user_version=" + std::to_string(index_schema::kSchemaVersion));
    }
    return commit();
}

Outcome IndexDatabase::begin() {
    const int rc = exec("BEGIN IMMEDIATE");
    return rc == SQLITE_OK ? Outcome{} : failure(rc, "start writing the library index");
}

Outcome IndexDatabase::commit() {
    const int rc = exec("COMMIT");
    if (rc != SQLITE_OK) {
        const Outcome failed = failure(rc, "write the library index");
        rollback();
        return failed;
    }
    return {};
}

void IndexDatabase::rollback() {
    if (sqlite3_get_autocommit(m_db) == 0) {
        exec("ROLLBACK");
    }
}

Outcome IndexDatabase::failure(int code, const std::string& doing) const {
    const int primary = code & 0xFF;
    const std::string detail = m_db != nullptr ? sqlite3_errmsg(m_db) : sqlite3_errstr(code);
    if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) {
        return Outcome{LibraryStatus::IndexDamaged,
                       "The library index " + m_file.string() + " is damaged (" + detail +
                           "); rebuild the library to recreate it from the archive files.",
                       0};
    }
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
        return Outcome{LibraryStatus::Busy,
                       "Could not " + doing + ": another program kept the library busy.", 0};
    }
    return Outcome{LibraryStatus::WriteFailed, "Could not " + doing + ": " + detail + ".", 0};
}

}  // namespace tevusb::library
