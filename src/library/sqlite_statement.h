// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

struct sqlite3;
struct sqlite3_stmt;

namespace tevusb::library {

// One prepared SQLite statement, finalized when it goes. Binding is 1-based as in SQLite;
// step() gives SQLITE_ROW, SQLITE_DONE or the error code.
class SqliteStatement {
  public:
    // A column's value whatever its type, for copying rows between indexes.
    using Value = std::variant<std::monostate, std::int64_t, double, std::string>;

    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool valid() const { return m_stmt != nullptr; }
    int prepareCode() const { return m_prepareCode; }

    void bind(int index, std::int64_t value);
    void bind(int index, const std::string& value);
    void bind(int index, const std::optional<double>& value);
    void bind(int index, double value);
    void bind(int index, const Value& value);
    int step();

    int columnCount() const;
    std::string columnName(int column) const;
    bool isNull(int column) const;
    std::int64_t integer(int column) const;
    double real(int column) const;
    std::optional<double> optionalReal(int column) const;
    std::string text(int column) const;
    Value value(int column) const;

  private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_prepareCode = 0;
};

}  // namespace tevusb::library
