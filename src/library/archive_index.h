// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "data/set_file.h"
#include "library/flight_library.h"
#include "library/prepared_flight.h"

namespace tevusb::library {

class IndexDatabase;

// The steps shared by archiving, importing, opening and rebuilding: files first, rows after.
namespace archive_index {

inline constexpr const char* kIndexName = "index.sqlite";
inline constexpr const char* kFlightsFolder = "flights";
inline constexpr const char* kDeletedFolder = "deleted";

// True for a path this library writes: relative, under flights/, no "..". An index from
// elsewhere must never make a delete or export reach outside the library folder.
bool isArchivePath(const std::string& relative);

// Writes the flight's archive file (synced) and then its row in a transaction. Duplicate,
// with the id, when a flight with the same hash is already there.
Outcome archive(IndexDatabase& db, const std::filesystem::path& folder, PreparedFlight& flight);

// Inserts the row as it is (id 0 lets SQLite choose); the caller holds the transaction.
Outcome insertRow(IndexDatabase& db, FlightRecord& record);

std::optional<std::int64_t> idOfHash(IndexDatabase& db, const std::string& hash);

// Every archive file under flights/, relative to the folder with '/' separators, sorted.
// Temporary files left by dead writers are removed on the way.
std::vector<std::string> archiveFiles(const std::filesystem::path& folder);

// Reads a data-set file of a sane size that holds at least one packet; nothing, with the
// reason in `why` ("does not exist", "is cut short: ..."), otherwise.
std::optional<data::set_file::Contents> readSetFile(const std::filesystem::path& path,
                                                    std::string& why);

// Reads an archive file back into a flight whose row restores what its name records.
// Nothing, with the reason in `why`, for an unreadable file.
std::optional<PreparedFlight> readArchiveFile(const std::filesystem::path& folder,
                                              const std::string& relative, std::string& why);

}  // namespace archive_index
}  // namespace tevusb::library
