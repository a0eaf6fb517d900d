// SPDX-License-Identifier: MIT
#include <sqlite3.h>

#include <optional>
#include <unordered_map>

#include "library/archive_files.h"
#include "library/archive_index.h"
#include "library/archive_name.h"
#include "library/flight_library.h"
#include "library/index_database.h"
#include "library/kept_tables.h"
#include "library/sqlite_statement.h"

namespace tevusb::library {

namespace {

using namespace archive_index;

// A simulation kept with a flight, as its row holds it.
struct KeptSimulation {
    std::string file, simName;
    std::optional<double> apogeeM;
};

// What a flyer typed, the id they know the flight by and the simulation they kept with it,
// found again by the flight's hash.
struct KeptFields {
    std::int64_t id = 0;
    std::string comment, rocket, motor, site, notes, flightDate;
    bool hasComment = false;
    std::optional<KeptSimulation> simulation;
};
using KeptByHash = std::unordered_map<std::string, KeptFields>;

// Reads whatever rows an index still yields, by column name so that a newer program's
// layout works too; stops quietly at the first damaged page.
KeptByHash rescue(IndexDatabase& db) {
    KeptByHash kept;
    SqliteStatement s(db.handle(), "SELECT * FROM flights");
    if (!s.valid()) {
        return kept;
    }
    std::unordered_map<std::string, int> at;
    for (int c = 0; c < s.columnCount(); ++c) {
        at[s.columnName(c)] = c;
    }
    if (!at.contains("hash")) {
        return kept;
    }
    const auto text = [&](const char* name) {
        const auto it = at.find(name);
        return it == at.end() ? std::string() : s.text(it->second);
    };
    while (s.step() == SQLITE_ROW) {
        KeptFields f;
        f.id = at.contains("id") ? s.integer(at["id"]) : 0;
        f.hasComment = at.contains("comment");
        f.comment = text("comment");
        f.rocket = text("rocket");
        f.motor = text("motor");
        f.site = text("site");
        f.notes = text("notes");
        f.flightDate = text("flight_date");
        kept.emplace(text("hash"), std::move(f));
    }
    // Clearing the flights takes their simulations' rows with them; they come back below.
    SqliteStatement sims(db.handle(),
                         "SELECT f.hash, s.file, s.sim_name, s.sim_apogee_m FROM "
                         "flight_simulations s JOIN flights f ON f.id = s.flight_id");
    while (sims.valid() && sims.step() == SQLITE_ROW) {
        const auto it = kept.find(sims.text(0));
        if (it != kept.end()) {
            it->second.simulation =
                KeptSimulation{sims.text(1), sims.text(2),
                               sims.isNull(3) ? std::nullopt : std::optional<double>(sims.real(3))};
        }
    }
    return kept;
}

// Puts a kept simulation's row back for the flight's (possibly new) id.
int restoreSimulation(IndexDatabase& db, std::int64_t id, const KeptSimulation& sim) {
    SqliteStatement s(db.handle(),
                      "INSERT OR REPLACE INTO flight_simulations (flight_id, file, sim_name, "
                      "sim_apogee_m) VALUES (?1, ?2, ?3, ?4)");
    s.bind(1, id);
    s.bind(2, sim.file);
    s.bind(3, sim.simName);
    if (sim.apogeeM) {
        s.bind(4, *sim.apogeeM);
    }
    const int rc = s.step();
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// Moves the index and its WAL companions out of the way under one new name.
bool moveAside(const std::filesystem::path& index, const char* why, std::filesystem::path& to,
               std::string& error) {
    const std::string stamp = isoUtc(std::chrono::system_clock::now());
    std::string compact;
    for (const char c : stamp) {
        if (c != ':' && c != '-') {
            compact.push_back(c);
        }
    }
    std::error_code ec;
    // Suffixes are added to the path itself: its name as text and back would pass through
    // the ANSI code page on Windows, which cannot hold every folder name.
    const auto suffixed = [](std::filesystem::path base, const std::string& suffix) {
        return base += suffix;
    };
    to = suffixed(index, std::string(".") + why + "-" + compact);
    for (int k = 2; std::filesystem::exists(to, ec); ++k) {
        to = suffixed(index, std::string(".") + why + "-" + compact + "-" + std::to_string(k));
    }
    for (const char* suffix : {"-wal", "-shm"}) {
        const std::filesystem::path companion = suffixed(index, suffix);
        if (std::filesystem::exists(companion, ec)) {
            std::filesystem::rename(companion, suffixed(to, suffix), ec);
        }
    }
    if (std::filesystem::exists(index, ec) && !archive_files::moveNew(index, to, error)) {
        return false;
    }
    return true;
}

}  // namespace

Outcome FlightLibrary::rebuild(const Progress& progress) {
    std::lock_guard lock(m_mutex);
    m_db.reset();
    std::string error;
    if (m_folder.empty() || !archive_files::makeFolders(m_folder, error)) {
        return {LibraryStatus::WriteFailed, error.empty() ? "No library folder to rebuild." : error,
                0};
    }
    const auto indexFile = m_folder / kIndexName;
    Outcome opened;
    auto db = IndexDatabase::open(indexFile, opened);
    KeptByHash kept;
    std::vector<KeptTable> keptTables;
    std::string note;
    if (!db) {
        if (opened.status != LibraryStatus::IndexDamaged &&
            opened.status != LibraryStatus::IndexNewer) {
            return opened;
        }
        if (auto old = IndexDatabase::openReadOnly(indexFile)) {
            kept = rescue(*old);
            keptTables = keepIndexOnlyTables(*old);
        }
        std::filesystem::path aside;
        const char* why = opened.status == LibraryStatus::IndexNewer ? "newer" : "damaged";
        if (!moveAside(indexFile, why, aside, error)) {
            return {LibraryStatus::WriteFailed, error, 0};
        }
        note = " The old index was moved to " + aside.string() + ".";
        db = IndexDatabase::open(indexFile, opened);
        if (!db) {
            return opened;
        }
    }
    Outcome started = db->begin();
    if (!started.ok()) {
        return started;
    }
    // Inside the transaction, so that no other program's row slips in unread.
    for (auto& [hash, fields] : rescue(*db)) {
        kept.insert_or_assign(hash, std::move(fields));
    }
    if (const int rc = db->exec("DELETE FROM flights"); rc != SQLITE_OK) {
        db->rollback();
        return db->failure(rc, "clear the library index");
    }
    const auto files = archiveFiles(m_folder);
    std::size_t restored = 0, withFields = 0, copies = 0;
    std::vector<std::string> unreadable;
    std::unordered_map<std::string, bool> seen;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (progress && !progress(i, files.size())) {
            db->rollback();
            return {LibraryStatus::Cancelled, "Rebuild cancelled; the index is as it was.", 0};
        }
        std::string why;
        auto flight = readArchiveFile(m_folder, files[i], why);
        if (!flight) {
            unreadable.push_back(files[i] + " " + why);
            continue;
        }
        FlightRecord& r = flight->record;
        if (seen.contains(r.hash)) {
            ++copies;
            continue;
        }
        seen[r.hash] = true;
        if (const auto it = kept.find(r.hash); it != kept.end()) {
            r.id = it->second.id;
            if (it->second.hasComment) {
                r.comment = it->second.comment;
            }
            r.rocket = it->second.rocket;
            r.motor = it->second.motor;
            r.site = it->second.site;
            r.notes = it->second.notes;
            r.flightDate = it->second.flightDate;
            ++withFields;
        }
        Outcome inserted = insertRow(*db, r);
        if (!inserted.ok() && r.id != 0) {
            r.id = 0;  // an id the old index gave twice; a fresh one is better than none
            inserted = insertRow(*db, r);
        }
        if (!inserted.ok()) {
            db->rollback();
            return inserted;
        }
        if (const auto it = kept.find(r.hash); it != kept.end() && it->second.simulation) {
            if (const int rc = restoreSimulation(*db, r.id, *it->second.simulation);
                rc != SQLITE_OK) {
                db->rollback();
                return db->failure(rc, "keep the simulation of flight #" + std::to_string(r.id));
            }
        }
        ++restored;
    }
    if (const int rc = restoreKeptTables(*db, keptTables); rc != SQLITE_OK) {
        db->rollback();
        return db->failure(rc, "keep the rocket profiles and pre-flight checks");
    }
    Outcome committed = db->commit();
    if (!committed.ok()) {
        return committed;
    }
    if (progress) {
        progress(files.size(), files.size());
    }
    m_db = std::move(db);
    std::string message = "Rebuilt the library index: " + std::to_string(restored) +
                          (restored == 1 ? " flight" : " flights") + " from the archive files (" +
                          std::to_string(withFields) + " with their fields kept).";
    if (copies > 0) {
        message += " " + std::to_string(copies) + " duplicate archive files were skipped.";
    }
    if (!unreadable.empty()) {
        message += " " + std::to_string(unreadable.size()) +
                   " archive files could not be read, first: " + unreadable.front() + ".";
    } else {
        message += " Every archive file was read.";
    }
    if (const auto summary = keptTablesSummary(keptTables); !summary.empty()) {
        message += " Kept from the old index: " + summary + ".";
    }
    return {LibraryStatus::Ok, message + note, 0};
}

}  // namespace tevusb::library
