// SPDX-License-Identifier: MIT
#include "library/archive_index.h"

#include <sqlite3.h>

#include <algorithm>
#include <fstream>

#include "data/set_file.h"
#include "library/archive_files.h"
#include "library/archive_name.h"
#include "library/archive_stage.h"
#include "library/index_database.h"
#include "library/index_schema.h"
#include "library/sqlite_statement.h"

namespace tevusb::library::archive_index {

namespace {

// Two different flights whose hashes share twelve digits and a second are rare enough
// that a handful of numbered names always suffices.
constexpr int kNameAttempts = 50;
// A set of all 128 packets with a comment at the cut-off is well below this.
constexpr std::uintmax_t kLargestArchiveFile = 4u << 20;

Outcome duplicateOf(std::int64_t id) {
    return Outcome{LibraryStatus::Duplicate,
                   "Already in the library as #" + std::to_string(id) + ".", id};
}

}  // namespace

bool isArchivePath(const std::string& relative) {
    const std::filesystem::path path(relative);
    if (path.is_absolute() || path.empty() || *path.begin() != kFlightsFolder) {
        return false;
    }
    for (const auto& part : path) {
        if (part == "..") {
            return false;
        }
    }
    return true;
}

std::optional<std::int64_t> idOfHash(IndexDatabase& db, const std::string& hash) {
    SqliteStatement s(db.handle(), "SELECT id FROM flights WHERE hash = ?1");
    s.bind(1, hash);
    if (s.step() == SQLITE_ROW) {
        return s.integer(0);
    }
    return std::nullopt;
}

Outcome insertRow(IndexDatabase& db, FlightRecord& record) {
    SqliteStatement s(db.handle(), "INSERT INTO flights (" + index_schema::columnList() +
                                       ") VALUES (" + index_schema::placeholders() + ")");
    index_schema::bindRecord(s, record);
    const int rc = s.step();
    if (rc != SQLITE_DONE) {
        return db.failure(rc, "add the flight to the library index");
    }
    record.id = sqlite3_last_insert_rowid(db.handle());
    return Outcome{LibraryStatus::Ok, "", record.id};
}

Outcome archive(IndexDatabase& db, const std::filesystem::path& folder, PreparedFlight& flight) {
    FlightRecord& record = flight.record;
    if (const auto existing = idOfHash(db, record.hash)) {
        return duplicateOf(*existing);
    }
    ArchiveName name{record.downloadedAt, record.setNumber, record.firmwareVersion,
                     record.hash.substr(0, 12)};
    std::string error;
    archive_files::Placed placed = archive_files::Placed::Failed;
    for (int attempt = 1; attempt <= kNameAttempts; ++attempt) {
        record.archivePath = archivePathFor(name, attempt);
        const auto target = folder / record.archivePath;
        if (!archive_files::makeFolders(target.parent_path(), error)) {
            return Outcome{LibraryStatus::WriteFailed, error, 0};
        }
        placed = archive_files::writeNew(target, flight.fileBytes, error);
        if (placed != archive_files::Placed::OtherExists) {
            break;
        }
    }
    if (placed == archive_files::Placed::Failed) {
        return Outcome{LibraryStatus::WriteFailed, error, 0};
    }
    if (placed == archive_files::Placed::OtherExists) {
        return Outcome{LibraryStatus::WriteFailed,
                       "Cannot find a free archive file name for the flight.", 0};
    }
    const auto kept = [&] {
        return " The flight is kept in " + (folder / record.archivePath).string() +
               " and is added when the library is next opened.";
    };
    Outcome started = db.begin();
    if (!started.ok()) {
        started.message += kept();
        return started;
    }
    Outcome inserted = insertRow(db, record);
    if (!inserted.ok()) {
        db.rollback();
        // Another program may have picked our file up as an orphan a moment ago.
        if (const auto existing = idOfHash(db, record.hash)) {
            SqliteStatement s(db.handle(), "SELECT archive_path FROM flights WHERE id = ?1");
            s.bind(1, *existing);
            if (s.step() == SQLITE_ROW && s.text(0) == record.archivePath) {
                record.id = *existing;
                return Outcome{LibraryStatus::Ok, "", *existing};
            }
            if (placed == archive_files::Placed::Written) {
                std::error_code ec;
                std::filesystem::remove(folder / record.archivePath, ec);
            }
            return duplicateOf(*existing);
        }
        inserted.message += kept();
        return inserted;
    }
    reachArchiveStage(ArchiveStage::RowInserted);
    Outcome committed = db.commit();
    if (!committed.ok()) {
        committed.message += kept();
        return committed;
    }
    reachArchiveStage(ArchiveStage::Committed);
    return inserted;
}

namespace {

// Adds the archive files of one folder (and its subfolders) under the relative `prefix`.
void collectArchiveFiles(const std::filesystem::path& dir, const std::string& prefix,
                         std::vector<std::string>& files) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // Links are not followed: a loop of them must not recurse for ever.
        if (it->is_directory(ec) && !it->is_symlink(ec)) {
            collectArchiveFiles(it->path(), prefix + name + "/", files);
        } else if (archive_files::isTemporary(it->path())) {
            archive_files::removeStaleTemporary(it->path());
        } else if (name.size() > 4 && name.front() != '.' &&
                   name.compare(name.size() - 4, 4, ".tev") == 0 && it->is_regular_file(ec)) {
            files.push_back(prefix + name);
        }
    }
}

}  // namespace

std::vector<std::string> archiveFiles(const std::filesystem::path& folder) {
    std::vector<std::string> files;
    collectArchiveFiles(folder / kFlightsFolder, std::string(kFlightsFolder) + "/", files);
    std::sort(files.begin(), files.end());
    return files;
}

std::optional<data::set_file::Contents> readSetFile(const std::filesystem::path& path,
                                                    std::string& why) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kLargestArchiveFile) {
        why = !ec                                  ? "is too large to be a data-set file"
              : !std::filesystem::exists(path, ec) ? "does not exist"
                                                   : "cannot be read";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = "cannot be read";
        return std::nullopt;
    }
    data::LoadError error;
    auto contents = data::set_file::decode(in, settings::DeviceSettings(), error);
    if (!contents) {
        // The loader's own clause says where the file went wrong ("is cut short: ...").
        why = error.message;
        return std::nullopt;
    }
    if (contents->packets.empty()) {
        why = "holds no flight";
        return std::nullopt;
    }
    return contents;
}

std::optional<PreparedFlight> readArchiveFile(const std::filesystem::path& folder,
                                              const std::string& relative, std::string& why) {
    const auto path = folder / relative;
    const auto contents = readSetFile(path, why);
    if (!contents) {
        return std::nullopt;
    }
    std::error_code ec;
    auto name = parseArchiveFileName(path.filename().string());
    if (!name) {
        // A file put there by hand: its modification time is the best date there is.
        name = ArchiveName{};
        const auto written = std::filesystem::last_write_time(path, ec);
        name->downloadedAt =
            isoUtc(ec ? std::chrono::system_clock::now()
                      : std::chrono::time_point_cast<std::chrono::system_clock::duration>(
                            std::chrono::file_clock::to_sys(written)));
    }
    PreparedFlight flight = prepareFlight(contents->packets.data(), contents->packets.size(),
                                          contents->settings, contents->comment, name->setNumber,
                                          name->downloadedAt, name->firmwareVersion);
    flight.record.archivePath = relative;
    return flight;
}

}  // namespace tevusb::library::archive_index
