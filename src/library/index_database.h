// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "library/flight_library.h"

struct sqlite3;

namespace tevusb::library {

// The SQLite connection of one library: checked, in WAL mode with a busy timeout so that
// the window and the command line can share one index, and migrated to the current
// schema. Not thread-safe by itself; FlightLibrary serializes its use.
class IndexDatabase {
  public:
    // Opens (creating when absent) and migrates. Null with the reason in `outcome` for a
    // damaged, foreign or newer index, which is then left exactly as it was.
    static std::unique_ptr<IndexDatabase> open(const std::filesystem::path& file, Outcome& outcome);
    // A read-only look at an index that open() refused, to rescue what it still holds.
    static std::unique_ptr<IndexDatabase> openReadOnly(const std::filesystem::path& file);
    ~IndexDatabase();
    IndexDatabase(const IndexDatabase&) = delete;
    IndexDatabase& operator=(const IndexDatabase&) = delete;

    sqlite3* handle() const { return m_db; }
    const std::filesystem::path& file() const { return m_file; }
    int exec(const std::string& sql);
    // BEGIN IMMEDIATE, so a writer waits for the others up front rather than failing late.
    Outcome begin();
    Outcome commit();
    void rollback();
    // The outcome of a failed SQLite call: status from the code, one line saying what failed.
    Outcome failure(int code, const std::string& doing) const;

  private:
    IndexDatabase(sqlite3* db, std::filesystem::path file) : m_db(db), m_file(std::move(file)) {}
    Outcome prepare();
    Outcome migrate();

    sqlite3* m_db;
    std::filesystem::path m_file;
};

}  // namespace tevusb::library
