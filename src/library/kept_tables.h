// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "library/sqlite_statement.h"

namespace tevusb::library {

class IndexDatabase;

// The rows of the tables only the index holds (rocket profiles, pre-flight checks), read
// out of an index that is about to be replaced so that a rebuild does not lose them: the
// archive files give back the flights, nothing else gives back these.
struct KeptTable {
    std::string name;
    std::vector<std::string> columns;
    std::vector<std::vector<SqliteStatement::Value>> rows;
};

// Whatever rows each table still yields, by column name so that a newer program's layout
// works too; a table that is missing or damaged yields what came before the damage.
std::vector<KeptTable> keepIndexOnlyTables(IndexDatabase& from);

// Puts the kept rows into `to`, in the columns both layouts have; a row whose key is
// already there is left as it is. Returns SQLITE_OK or the failing code.
int restoreKeptTables(IndexDatabase& to, const std::vector<KeptTable>& tables);

// "2 rocket profiles and 3 pre-flight checks", or empty when nothing was kept.
std::string keptTablesSummary(const std::vector<KeptTable>& tables);

}  // namespace tevusb::library
