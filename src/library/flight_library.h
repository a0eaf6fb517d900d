// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "data/memory_packet.h"
#include "settings/device_settings.h"

namespace tevusb::library {

class IndexDatabase;

// What an operation came to. Every failure carries one line a flyer can read.
enum class LibraryStatus {
    Ok = 0,
    Duplicate,     // the flight is already in the library (id says which)
    NotFound,      // no flight with that id
    NotOpen,       // open() has not succeeded
    IndexMissing,  // no index yet where one was expected
    IndexDamaged,  // the index is not a readable SQLite database of ours
    IndexNewer,    // the index was written by a newer program; left untouched
    WriteFailed,   // the archive file or the index could not be written
    BadFile,       // an imported file is not a readable data-set file
    Busy,          // another program held the index past the busy timeout
    Cancelled,     // the progress callback asked to stop
};

struct Outcome {
    LibraryStatus status = LibraryStatus::Ok;
    std::string message;  // one line, empty on plain success
    std::int64_t id = 0;  // the flight concerned, where there is one (also for Duplicate)
    bool ok() const { return status == LibraryStatus::Ok; }
};

// One archived flight as the index knows it. Lengths in m, times in s from the first
// reading, speeds in m/s; optional where the analysis could not find the value.
struct FlightRecord {
    std::int64_t id = 0;
    std::string downloadedAt;     // UTC, ISO 8601 "2026-12-08T07:35:28Z"
    std::string firmwareVersion;  // empty where unknown (imported files)
    int setNumber = 0;            // 1-based number of the set in its download
    std::int64_t readings = 0;
    double durationS = 0.0;
    unsigned statisticsFlags = 0;  // analysis::StatisticsFlag bits

    std::optional<double> apogeeAglM, apogeeMslM, apogeeTimeS;
    std::optional<double> peakVelocityMs, peakVelocityTimeS;
    std::optional<double> lineATimeS, lineAAltitudeM, lineBTimeS, lineBAltitudeM;
    std::optional<double> drogueRateMs, mainRateMs;
    std::optional<double> launchTimeS, landingTimeS;

    std::string comment, rocket, motor, site, notes;
    std::string archivePath;  // relative to the library folder, '/' separated
    std::string hash;         // SHA-256 of packets + settings image, lowercase hex
    std::string packetsHash;  // SHA-256 of the packets alone, lowercase hex
    std::string flightDate;   // "2026-12-06" as the flyer set it; empty: the download day
};

// A simulation kept with a flight: its copy inside the library folder (absolute path),
// the simulation chosen in it and that simulation's apogee (m above the site).
struct AttachedSimulation {
    std::int64_t flightId = 0;
    std::filesystem::path file;
    std::string simName;
    std::optional<double> simApogeeM;
};

// The flyer's fields an edit changes; an empty optional leaves a field as it is.
struct FlightFields {
    std::optional<std::string> rocket, motor, site, notes, comment;
    std::optional<std::string> flightDate = std::nullopt;  // "YYYY-MM-DD"; empty: download day
};

// Everything one download brought: the memory image and what the device said about it.
struct DownloadInput {
    std::vector<data::MemoryPacket> packets;
    settings::DeviceSettings settings;
    std::vector<std::string> comments;  // per set, may be shorter than the set count
    std::string firmwareVersion;
    std::chrono::system_clock::time_point downloadedAt = std::chrono::system_clock::now();
    // The altimeter it came from (its device path): the latest pre-flight check made on it
    // is linked to the first flight of this download that was not on it at the check.
    std::string altimeter;
};

// The result for one set of a download or one imported file.
struct ItemOutcome {
    int setNumber = 0;           // 1-based, for downloads
    std::filesystem::path file;  // for imports: the file concerned
    Outcome outcome;
};

enum class SortKey { Id, DownloadedAt, ApogeeAgl, PeakVelocity, Duration, Rocket, Motor, Site };

struct ListQuery {
    std::string filter;  // case-insensitive substring of rocket/motor/site/notes/comment/date
    SortKey sort = SortKey::Id;
    bool descending = false;
};

enum class ExportFormat { Tev, Csv, Xml };

// Called with (done, total) during long work; returning false cancels what is left.
using Progress = std::function<bool(std::size_t done, std::size_t total)>;

// The flight library: archive files under a folder (the truth, never rewritten) and a
// SQLite index beside them. Calls are serialized by an internal mutex, so one object may
// be shared by the window thread and workers; several processes may open one folder.
// archiveDownload, importPaths (per file) and rebuild hold the mutex while they write:
// run them off the window thread.
class FlightLibrary {
  public:
    explicit FlightLibrary(std::filesystem::path folder);
    ~FlightLibrary();
    FlightLibrary(const FlightLibrary&) = delete;
    FlightLibrary& operator=(const FlightLibrary&) = delete;

    const std::filesystem::path& folder() const { return m_folder; }

    // Creates the folder and index as needed, migrates an older schema and adds archive
    // files that have no row (orphans). Damaged or newer indexes are refused untouched.
    Outcome open();
    bool isOpen() const;

    // Archives every set of a download, each file written and synced before its row.
    // One result per set, in order; a failing set does not stop the others.
    std::vector<ItemOutcome> archiveDownload(const DownloadInput& download);

    // Imports .tev files and folders (searched recursively for *.tev); each refused file
    // is named with its reason and the rest goes on.
    std::vector<ItemOutcome> importPaths(const std::vector<std::filesystem::path>& paths,
                                         const Progress& progress = {});

    // The matching flights; `outcome`, when given, says why the list is empty on failure.
    std::vector<FlightRecord> list(const ListQuery& query = {}, Outcome* outcome = nullptr) const;
    // One flight; nothing when absent (NotFound) or unreadable, as `outcome` then says.
    std::optional<FlightRecord> get(std::int64_t id, Outcome* outcome = nullptr) const;
    // The flight whose archive file `file` is (any spelling of its path); NotFound for a
    // file elsewhere, such as one saved by hand.
    std::optional<FlightRecord> findArchived(const std::filesystem::path& file,
                                             Outcome* outcome = nullptr) const;
    // For each packets-only hash (see packetsHash), whether a flight with those packets is
    // in the library, in the order given. All false, with the reason in `outcome`, when
    // the index cannot be read.
    std::vector<bool> holdsPackets(const std::vector<std::string>& packetHashes,
                                   Outcome* outcome = nullptr) const;
    Outcome edit(std::int64_t id, const FlightFields& fields);
    // Moves the archive file to deleted/ inside the folder and removes the row.
    Outcome remove(std::int64_t id);
    // Writes the flight as .tev (its stored comment as of now), CSV or XML.
    Outcome exportFlight(std::int64_t id, ExportFormat format,
                         const std::filesystem::path& target) const;

    // Copies a simulation file into the library and keeps it with flight `id`, replacing
    // one attached before. The file must hold the simulation named (default: the first
    // with data rows); a file that does not is refused (BadFile) with its reason.
    Outcome attachSimulation(std::int64_t id, const std::filesystem::path& file,
                             const std::optional<std::string>& simName = std::nullopt);
    // The simulation kept with flight `id`; nothing when none is (outcome Ok) or on failure.
    std::optional<AttachedSimulation> attachedSimulation(std::int64_t id,
                                                         Outcome* outcome = nullptr) const;
    // Every attachment, for the list.
    std::vector<AttachedSimulation> attachedSimulations(Outcome* outcome = nullptr) const;

    // Recreates the index from the archive files; works also when open() failed. The flyer's
    // fields are kept where the old index can still be read; a damaged one is moved aside.
    Outcome rebuild(const Progress& progress = {});

    // Runs `work` on the open index under the library's lock (NotOpen when there is none):
    // the rocket profiles and the pre-flight records keep their tables through it.
    Outcome withIndex(const std::function<Outcome(IndexDatabase&)>& work) const;

  private:
    std::filesystem::path m_folder;
    mutable std::mutex m_mutex;
    std::unique_ptr<IndexDatabase> m_db;
};

}  // namespace tevusb::library
