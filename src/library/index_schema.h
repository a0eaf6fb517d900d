// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "library/flight_library.h"

namespace tevusb::library {

class SqliteStatement;

// The index's layout. Migration i brings PRAGMA user_version i to i + 1; a database whose
// version is above kSchemaVersion comes from a newer program and is never touched.
namespace index_schema {

inline constexpr int kSchemaVersion = 7;
const std::vector<std::string>& migrations();

// The record's columns in the order readRecord and bindRecord use, id first:
// "id, downloaded_at, …".
const std::string& columnList();
// "?1, ?2, …" for columnList().
std::string placeholders();

FlightRecord readRecord(const SqliteStatement& row);
// Binds every column of columnList(); an id of 0 binds NULL so SQLite picks one.
void bindRecord(SqliteStatement& statement, const FlightRecord& record);

}  // namespace index_schema
}  // namespace tevusb::library
