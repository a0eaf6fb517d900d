// SPDX-License-Identifier: MIT
#include "library/sqlite_statement.h"

#include <sqlite3.h>

namespace tevusb::library {

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) {
    m_prepareCode =
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_stmt, nullptr);
    if (m_prepareCode != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_stmt);
}

void SqliteStatement::bind(int index, std::int64_t value) {
    sqlite3_bind_int64(m_stmt, index, value);
}

void SqliteStatement::bind(int index, const std::string& value) {
    sqlite3_bind_text(m_stmt, index, value.data(), static_cast<int>(value.size()),
                      SQLITE_TRANSIENT);
}

void SqliteStatement::bind(int index, const std::optional<double>& value) {
    if (value) {
        sqlite3_bind_double(m_stmt, index, *value);
    } else {
        sqlite3_bind_null(m_stmt, index);
    }
}

void SqliteStatement::bind(int index, double value) {
    sqlite3_bind_double(m_stmt, index, value);
}

void SqliteStatement::bind(int index, const Value& value) {
    if (const auto* i = std::get_if<std::int64_t>(&value)) {
        bind(index, *i);
    } else if (const auto* d = std::get_if<double>(&value)) {
        bind(index, *d);
    } else if (const auto* t = std::get_if<std::string>(&value)) {
        bind(index, *t);
    } else {
        sqlite3_bind_null(m_stmt, index);
    }
}

int SqliteStatement::step() {
    return m_stmt != nullptr ? sqlite3_step(m_stmt) : m_prepareCode;
}

int SqliteStatement::columnCount() const {
    return sqlite3_column_count(m_stmt);
}

std::string SqliteStatement::columnName(int column) const {
    const char* name = sqlite3_column_name(m_stmt, column);
    return name != nullptr ? name : "";
}

bool SqliteStatement::isNull(int column) const {
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

std::int64_t SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

double SqliteStatement::real(int column) const {
    return sqlite3_column_double(m_stmt, column);
}

std::optional<double> SqliteStatement::optionalReal(int column) const {
    if (isNull(column)) {
        return std::nullopt;
    }
    return real(column);
}

std::string SqliteStatement::text(int column) const {
    const auto* p = sqlite3_column_text(m_stmt, column);
    const int n = sqlite3_column_bytes(m_stmt, column);
    return p != nullptr ? std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(n))
                        : std::string();
}

SqliteStatement::Value SqliteStatement::value(int column) const {
    switch (sqlite3_column_type(m_stmt, column)) {
        case SQLITE_INTEGER:
            return integer(column);
        case SQLITE_FLOAT:
            return real(column);
        case SQLITE_NULL:
            return std::monostate{};
        default:
            return text(column);
    }
}

}  // namespace tevusb::library
