// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/memory_packet.h"
#include "data/preflight_report.h"
#include "library/flight_library.h"

namespace tevusb::library {

class IndexDatabase;

// A pre-flight check as the library keeps it.
struct PreflightRecord {
    std::int64_t id = 0;
    std::string checkedAt;  // UTC, ISO 8601
    data::PreflightReport report;
    std::string altimeter;                 // the device path it ran on
    std::optional<std::int64_t> flightId;  // the flight made after it, once downloaded
};

// Keeps a check made on `altimeter`, whose flight memory held `packets` at the time, and
// gives its id. The next download from that altimeter links its first new flight to it.
Outcome recordPreflight(const FlightLibrary& library, const data::PreflightReport& report,
                        const std::string& altimeter,
                        const std::vector<data::MemoryPacket>& packets, std::int64_t* id = nullptr);

// The check that preceded a flight; nothing when none is linked to it.
std::optional<PreflightRecord> preflightBeforeFlight(const FlightLibrary& library,
                                                     std::int64_t flightId,
                                                     Outcome* outcome = nullptr);
// The latest checks, newest first.
std::vector<PreflightRecord> latestPreflights(const FlightLibrary& library, int count,
                                              Outcome* outcome = nullptr);

// For FlightLibrary::archiveDownload, under its lock: links the latest unlinked check made
// on `altimeter` to the first of the flights just added (id, packets-only hash) that was not
// on the altimeter when the check ran. A check is linked once; an older unlinked one is
// never linked after a newer check on the same altimeter.
void linkPreflightCheck(IndexDatabase& db, const std::string& altimeter,
                        const std::vector<std::pair<std::int64_t, std::string>>& added);

// "2026-12-08 21:40 UTC: go (Nova)" and one line per item, for `library show` and the window.
std::vector<std::string> preflightLines(const PreflightRecord& record);

}  // namespace tevusb::library
