// SPDX-License-Identifier: MIT
// Simulations kept with library flights: copied into the folder beside the archive, so the
// library stays whole when the flyer's own copy moves or changes.
#include <sqlite3.h>

#include <fstream>
#include <iterator>

#include "library/archive_files.h"
#include "library/flight_library.h"
#include "library/index_database.h"
#include "library/sqlite_statement.h"
#include "simulation/flight_against_simulation.h"
#include "simulation/import_limits.h"
#include "simulation/simulation_facts.h"
#include "simulation/simulation_file.h"

namespace tevusb::library {

namespace {

constexpr const char* kSimulationFolder = "simulations";

// The whole file, or the reason it cannot be had; bounded like every simulation read.
std::optional<std::string> readBounded(const std::filesystem::path& file, std::string& error) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec) {
        error = file.filename().string() + ": cannot be read (" + ec.message() + ").";
        return std::nullopt;
    }
    if (size > simulation::ImportLimits::kMaxFileBytes) {
        error = file.filename().string() + ": too large for a simulation file.";
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        error = file.filename().string() + ": cannot be read.";
        return std::nullopt;
    }
    return bytes;
}

AttachedSimulation readAttachment(const SqliteStatement& row, const std::filesystem::path& folder) {
    AttachedSimulation a;
    a.flightId = row.integer(0);
    a.file = folder / std::filesystem::path(row.text(1));
    a.simName = row.text(2);
    if (!row.isNull(3)) {
        a.simApogeeM = row.real(3);
    }
    return a;
}

const Outcome kClosed{LibraryStatus::NotOpen, "The flight library is not open.", 0};

}  // namespace

Outcome FlightLibrary::attachSimulation(std::int64_t id, const std::filesystem::path& file,
                                        const std::optional<std::string>& simName) {
    std::lock_guard lock(m_mutex);
    if (!m_db) {
        return kClosed;
    }
    std::string hash;
    {
        SqliteStatement s(m_db->handle(), "SELECT hash FROM flights WHERE id = ?1");
        s.bind(1, id);
        const int rc = s.step();
        if (rc == SQLITE_DONE) {
            return {LibraryStatus::NotFound,
                    "No flight #" + std::to_string(id) + " in the library.", id};
        }
        if (rc != SQLITE_ROW) {
            return m_db->failure(rc, "read flight #" + std::to_string(id));
        }
        hash = s.text(0);
    }
    const std::string fileName = file.filename().string();
    std::string error;
    const auto bytes = readBounded(file, error);
    if (!bytes) {
        return {LibraryStatus::BadFile, error, id};
    }
    auto sims = simulation::readSimulations(*bytes, fileName, file.stem().string());
    if (auto* refused = std::get_if<simulation::ImportError>(&sims)) {
        return {LibraryStatus::BadFile, simulation::oneLine(refused->message), id};
    }
    auto picked = simulation::pickSimulation(std::get<std::vector<simulation::Simulation>>(sims),
                                             simName, fileName);
    if (auto* refused = std::get_if<simulation::ImportError>(&picked)) {
        return {LibraryStatus::BadFile, refused->message, id};
    }
    const auto& sim = std::get<simulation::Simulation>(picked);

    // One folder per flight, named by its content hash, so a rebuilt index finds it again.
    const std::filesystem::path relativeFolder =
        std::filesystem::path(kSimulationFolder) / hash.substr(0, 16);
    if (!archive_files::makeFolders(m_folder / relativeFolder, error)) {
        return {LibraryStatus::WriteFailed, error, id};
    }
    std::filesystem::path relative = relativeFolder / fileName;
    for (int k = 2;; ++k) {
        const auto placed = archive_files::writeNew(m_folder / relative, *bytes, error);
        if (placed == archive_files::Placed::Written ||
            placed == archive_files::Placed::SameExists) {
            break;
        }
        if (placed == archive_files::Placed::Failed) {
            return {LibraryStatus::WriteFailed, error, id};
        }
        relative = relativeFolder /
                   (file.stem().string() + "-" + std::to_string(k) + file.extension().string());
    }
    SqliteStatement s(m_db->handle(),
                      "INSERT OR REPLACE INTO flight_simulations (flight_id, file, sim_name, "
                      "sim_apogee_m) VALUES (?1, ?2, ?3, ?4)");
    s.bind(1, id);
    s.bind(2, relative.generic_string());
    s.bind(3, sim.name);
    s.bind(4, simulation::simulationFacts(sim).apogeeM);
    if (const int rc = s.step(); rc != SQLITE_DONE) {
        return m_db->failure(rc, "keep the simulation with flight #" + std::to_string(id));
    }
    return {LibraryStatus::Ok, "", id};
}

std::optional<AttachedSimulation> FlightLibrary::attachedSimulation(std::int64_t id,
                                                                    Outcome* outcome) const {
    std::lock_guard lock(m_mutex);
    if (!m_db) {
        if (outcome != nullptr) {
            *outcome = kClosed;
        }
        return std::nullopt;
    }
    SqliteStatement s(m_db->handle(),
                      "SELECT flight_id, file, sim_name, sim_apogee_m FROM flight_simulations "
                      "WHERE flight_id = ?1");
    s.bind(1, id);
    const int rc = s.step();
    if (rc == SQLITE_ROW) {
        return readAttachment(s, m_folder);
    }
    if (rc != SQLITE_DONE && outcome != nullptr) {
        *outcome = m_db->failure(rc, "read the simulation of flight #" + std::to_string(id));
    }
    return std::nullopt;
}

std::vector<AttachedSimulation> FlightLibrary::attachedSimulations(Outcome* outcome) const {
    std::lock_guard lock(m_mutex);
    std::vector<AttachedSimulation> all;
    if (!m_db) {
        if (outcome != nullptr) {
            *outcome = kClosed;
        }
        return all;
    }
    SqliteStatement s(m_db->handle(),
                      "SELECT flight_id, file, sim_name, sim_apogee_m FROM flight_simulations "
                      "ORDER BY flight_id");
    int rc;
    while ((rc = s.step()) == SQLITE_ROW) {
        all.push_back(readAttachment(s, m_folder));
    }
    if (rc != SQLITE_DONE && outcome != nullptr) {
        *outcome = m_db->failure(rc, "read the library's simulations");
    }
    return all;
}

}  // namespace tevusb::library
