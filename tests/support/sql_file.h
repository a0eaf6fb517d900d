// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

namespace tevusb::testing {

// Runs `statement` on the SQLite file `file` directly, as another program would: how the
// tests damage an index or make it look newer. The name goes to SQLite as UTF-8, as it
// expects on every system.
inline void runSql(const std::filesystem::path& file, const std::string& statement) {
    sqlite3* db = nullptr;
    const std::u8string name = file.u8string();
    ASSERT_EQ(sqlite3_open(reinterpret_cast<const char*>(name.c_str()), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, statement.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
}

}  // namespace tevusb::testing
