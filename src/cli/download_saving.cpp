// SPDX-License-Identifier: MIT
#include "cli/download_saving.h"

#include "cli/cli_path.h"
#include "cli/library_option.h"
#include "library/flight_library.h"
#include "text/safety_texts.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace tevusb::cli {

std::string freeSetBase(const std::filesystem::path& folder, int setNumber, bool csv) {
    const std::string plain = "set" + std::to_string(setNumber);
    std::string base = plain;
    std::error_code ec;
    for (int k = 2;; ++k) {
        const bool taken = std::filesystem::exists(folder / (base + ".tev"), ec) ||
                           (csv && std::filesystem::exists(folder / (base + ".csv"), ec));
        if (!taken) {
            return base;
        }
        base = plain + "-" + std::to_string(k);
    }
}

bool saveSetFiles(data::DataSetStore& store, int k, const std::filesystem::path& folder, bool csv,
                  std::ostream& out, std::ostream& err) {
    const std::string base = freeSetBase(folder, k + 1, csv);
    const auto tev = folder / (base + ".tev");
    if (!store.saveSetFile(tev, k)) {
        err << text::stringText(text::string_ids::kSaveFailed) << "\n";
        return false;
    }
    out << "Saved " << toText(tev) << "\n";
    if (csv) {
        // Exported from the saved file, so the table is exactly what `export` of that
        // file gives.
        data::DataSetStore saved;
        const auto csvPath = folder / (base + ".csv");
        if (!saved.loadSetFile(tev) || !saved.exportCsv(csvPath, 0)) {
            err << text::stringText(text::string_ids::kCsvSaveFailed) << "\n";
            return false;
        }
        out << "Saved " << toText(csvPath) << "\n";
    }
    return true;
}

std::vector<bool> archiveDownload(const data::DataSetStore& store,
                                  const std::string& firmwareVersion, std::ostream& out,
                                  std::string& failure, const std::string& altimeter) {
    library::DownloadInput input;
    input.packets = store.packets;
    input.settings = store.settings;
    input.comments = store.comments;
    input.firmwareVersion = firmwareVersion;
    input.altimeter = altimeter;
    std::vector<bool> archived(static_cast<std::size_t>(store.setCount()), false);
    library::FlightLibrary flights(libraryFolder());
    const library::Outcome opened = flights.open();
    if (!flights.isOpen()) {
        failure = opened.message;
        return archived;
    }
    if (!opened.message.empty()) {
        out << opened.message << "\n";
    }
    if (simulatorLibrary()) {
        // Said every time, so nobody looks for these flights in their own library.
        out << "Archiving into " << text::libraryName(true) << " (" << toText(flights.folder())
            << ").\n";
    }
    for (const auto& item : flights.archiveDownload(input)) {
        const auto& o = item.outcome;
        const auto slot = static_cast<std::size_t>(item.setNumber - 1);
        if (o.ok()) {
            out << "Archived set " << item.setNumber << " as library flight #" << o.id << "\n";
        } else if (o.status == library::LibraryStatus::Duplicate) {
            out << "Set " << item.setNumber << " is already in the library as #" << o.id << "\n";
        } else {
            if (failure.empty()) {
                failure = o.message;
            }
            continue;
        }
        if (slot < archived.size()) {
            archived[slot] = true;
        }
    }
    return archived;
}

}  // namespace tevusb::cli
