// SPDX-License-Identifier: MIT
#include "library/flight_library.h"

#include <sqlite3.h>

#include <algorithm>

#include "data/data_set_store.h"
#include "library/archive_files.h"
#include "library/archive_index.h"
#include "library/archive_name.h"
#include "library/index_database.h"
#include "library/preflight_record.h"
#include "library/prepared_flight.h"
#include "library/sqlite_statement.h"

namespace tevusb::library {

namespace {

using namespace archive_index;

std::string plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Brings the index level with the archive files: a file without a row (a crash between
// the two steps of archiving) gets its row, a row whose file was already moved to
// deleted/ (a crash inside a delete) goes.
Outcome reconcile(IndexDatabase& db, const std::filesystem::path& folder) {
    // Both lists sorted by path (the index through its UNIQUE index), then walked side by
    // side: this runs on every open, also of a library of many thousand flights.
    std::vector<std::pair<std::string, std::int64_t>> rows;
    {
        SqliteStatement s(db.handle(),
                          "SELECT archive_path, id FROM flights ORDER BY archive_path");
        int rc = 0;
        while ((rc = s.step()) == SQLITE_ROW) {
            rows.emplace_back(s.text(0), s.integer(1));
        }
        if (rc != SQLITE_DONE) {
            return db.failure(rc, "read the library index " + db.file().string());
        }
    }
    const auto files = archiveFiles(folder);
    std::vector<std::int64_t> movedAway;
    std::vector<std::string> orphans;
    std::size_t r = 0, f = 0;
    while (r < rows.size() || f < files.size()) {
        if (f == files.size() || (r < rows.size() && rows[r].first < files[f])) {
            const auto& path = rows[r].first;
            std::error_code ec;
            if (isArchivePath(path) &&
                std::filesystem::exists(folder / kDeletedFolder / path, ec)) {
                movedAway.push_back(rows[r].second);
            }
            ++r;
        } else if (r == rows.size() || files[f] < rows[r].first) {
            orphans.push_back(files[f++]);
        } else {
            ++r;
            ++f;
        }
    }
    for (const auto id : movedAway) {
        SqliteStatement s(db.handle(), "DELETE FROM flights WHERE id = ?1");
        s.bind(1, id);
        s.step();
    }
    std::size_t added = 0;
    std::vector<std::string> unreadable;
    for (const auto& file : orphans) {
        std::string why;
        auto flight = readArchiveFile(folder, file, why);
        if (!flight) {
            unreadable.push_back(file + " " + why);
            continue;
        }
        if (idOfHash(db, flight->record.hash)) {
            continue;  // a second copy of a flight that is already there
        }
        Outcome started = db.begin();
        if (!started.ok()) {
            return started;
        }
        if (insertRow(db, flight->record).ok()) {
            ++added;
        }
        if (Outcome done = db.commit(); !done.ok()) {
            return done;
        }
    }
    Outcome result;
    if (added > 0) {
        result.message = "Added " + plural(added, "flight", "flights") +
                         " whose archive file had no index entry.";
    }
    if (!unreadable.empty()) {
        result.message += std::string(result.message.empty() ? "" : " ") +
                          plural(unreadable.size(), "archive file", "archive files") +
                          " could not be read: " + unreadable.front() +
                          (unreadable.size() > 1 ? ", …" : "") + ".";
    }
    return result;
}

// Rows written before the index kept a packets-only hash get theirs from the archive file,
// once: a flight still on the altimeter is recognised by it.
void fillPacketHashes(IndexDatabase& db, const std::filesystem::path& folder) {
    std::vector<std::pair<std::int64_t, std::string>> rows;
    {
        SqliteStatement s(db.handle(),
                          "SELECT id, archive_path FROM flights WHERE packets_hash = ''");
        while (s.step() == SQLITE_ROW) {
            rows.emplace_back(s.integer(0), s.text(1));
        }
    }
    if (rows.empty() || !db.begin().ok()) {
        return;
    }
    for (const auto& [id, path] : rows) {
        std::string why;
        if (const auto flight = readArchiveFile(folder, path, why)) {
            SqliteStatement s(db.handle(), "UPDATE flights SET packets_hash = ?1 WHERE id = ?2");
            s.bind(1, flight->record.packetsHash);
            s.bind(2, id);
            s.step();
        }
    }
    db.commit();
}

std::vector<std::filesystem::path> expandImportPaths(
    const std::vector<std::filesystem::path>& paths, std::vector<ItemOutcome>& refused) {
    std::vector<std::filesystem::path> files;
    for (const auto& path : paths) {
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec)) {
            std::vector<std::filesystem::path> found;
            std::filesystem::recursive_directory_iterator it(path, ec), end;
            for (; !ec && it != end; it.increment(ec)) {
                auto ext = it->path().extension().string();
                std::transform(ext.begin(), ext.end(), ext.begin(),
                               [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
                if (ext == ".tev" && it->is_regular_file(ec)) {
                    found.push_back(it->path());
                }
            }
            std::sort(found.begin(), found.end());
            files.insert(files.end(), found.begin(), found.end());
        } else if (std::filesystem::exists(path, ec)) {
            files.push_back(path);
        } else {
            refused.push_back(
                {0,
                 path,
                 {LibraryStatus::BadFile, path.string() + ": no such file or folder.", 0}});
        }
    }
    return files;
}

Outcome openIndex(const std::filesystem::path& folder, std::unique_ptr<IndexDatabase>& index) {
    index.reset();
    if (folder.empty()) {
        return {LibraryStatus::WriteFailed,
                "No library folder: neither --library, TEVUSB_LIBRARY nor HOME is set.", 0};
    }
    std::string error;
    if (!archive_files::makeFolders(folder, error)) {
        return {LibraryStatus::WriteFailed, error, 0};
    }
    Outcome outcome;
    auto db = IndexDatabase::open(folder / kIndexName, outcome);
    if (!db) {
        return outcome;
    }
    outcome = reconcile(*db, folder);
    if (outcome.status == LibraryStatus::IndexDamaged) {
        return outcome;
    }
    fillPacketHashes(*db, folder);
    // A reconcile that could not write (a full disk) still leaves a readable index.
    index = std::move(db);
    return outcome;
}

}  // namespace

FlightLibrary::FlightLibrary(std::filesystem::path folder) : m_folder(std::move(folder)) {}

FlightLibrary::~FlightLibrary() = default;

bool FlightLibrary::isOpen() const {
    std::lock_guard lock(m_mutex);
    return m_db != nullptr;
}

Outcome FlightLibrary::open() {
    std::lock_guard lock(m_mutex);
    return openIndex(m_folder, m_db);
}

std::vector<ItemOutcome> FlightLibrary::archiveDownload(const DownloadInput& download) {
    data::DataSetStore image;
    image.packets = download.packets;
    image.settings = download.settings;
    const int sets = image.setCount();
    std::vector<ItemOutcome> results;
    std::lock_guard lock(m_mutex);
    if (!m_db) {
        const Outcome opened = openIndex(m_folder, m_db);
        if (!m_db) {
            for (int k = 0; k < sets; ++k) {
                results.push_back({k + 1, {}, opened});
            }
            return results;
        }
    }
    const std::string at = isoUtc(download.downloadedAt);
    std::vector<std::pair<std::int64_t, std::string>> added;
    for (int k = 0; k < sets; ++k) {
        const auto first = static_cast<std::size_t>(image.setAddress(k));
        const auto count = static_cast<std::size_t>(image.packetCount(k));
        const auto slot = static_cast<std::size_t>(k);
        const std::string comment = slot < download.comments.size() ? download.comments[slot] : "";
        PreparedFlight flight = prepareFlight(&image.packets[first], count, image.settings, comment,
                                              k + 1, at, download.firmwareVersion);
        results.push_back({k + 1, {}, archive(*m_db, m_folder, flight)});
        if (results.back().outcome.ok()) {
            added.emplace_back(results.back().outcome.id, flight.record.packetsHash);
        }
    }
    if (!download.altimeter.empty()) {
        linkPreflightCheck(*m_db, download.altimeter, added);
    }
    return results;
}

std::vector<ItemOutcome> FlightLibrary::importPaths(const std::vector<std::filesystem::path>& paths,
                                                    const Progress& progress) {
    std::vector<ItemOutcome> results;
    const auto files = expandImportPaths(paths, results);
    {
        std::lock_guard lock(m_mutex);
        if (!m_db) {
            const Outcome opened = openIndex(m_folder, m_db);
            if (!m_db) {
                for (const auto& file : files) {
                    results.push_back({1, file, opened});
                }
                return results;
            }
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (progress && !progress(i, files.size())) {
            for (std::size_t j = i; j < files.size(); ++j) {
                results.push_back({1, files[j], {LibraryStatus::Cancelled, "Not imported.", 0}});
            }
            return results;
        }
        // One file at a time, so that the window can read the library between files.
        std::lock_guard lock(m_mutex);
        const auto& file = files[i];
        if (!m_db) {
            results.push_back({1, file, {LibraryStatus::NotOpen, "The library was closed.", 0}});
            continue;
        }
        std::string why;
        const auto contents = readSetFile(file, why);
        if (!contents) {
            results.push_back(
                {1, file, {LibraryStatus::BadFile, file.string() + " " + why + ".", 0}});
            continue;
        }
        PreparedFlight flight =
            prepareFlight(contents->packets.data(), contents->packets.size(), contents->settings,
                          contents->comment, 1, isoUtc(std::chrono::system_clock::now()), "");
        Outcome outcome = archive(*m_db, m_folder, flight);
        if (outcome.status == LibraryStatus::Duplicate) {
            outcome.message = file.string() + " is already in the library as #" +
                              std::to_string(outcome.id) + ".";
        } else if (!outcome.ok()) {
            outcome.message = file.string() + ": " + outcome.message;
        }
        results.push_back({1, file, outcome});
    }
    if (progress) {
        progress(files.size(), files.size());
    }
    return results;
}

Outcome FlightLibrary::withIndex(const std::function<Outcome(IndexDatabase&)>& work) const {
    std::lock_guard lock(m_mutex);
    if (!m_db) {
        return {LibraryStatus::NotOpen, "The flight library is not open.", 0};
    }
    return work(*m_db);
}

}  // namespace tevusb::library
