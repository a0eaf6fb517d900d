// SPDX-License-Identifier: MIT
#include "ui/dialogs/download_archive.h"

#include "device/altimeter_device.h"
#include "device/device_tasks.h"
#include "text/safety_texts.h"
#include "ui/library_service.h"

namespace tevusb::ui {

namespace {

const char* kKeptNote = " The flights are still here to save by hand.\r\n";

std::string flights(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " flight" : " flights");
}

// The library's messages are sentences; inside ours they lose their final stop.
std::string clause(std::string message) {
    while (!message.empty() && (message.back() == '.' || message.back() == ' ')) {
        message.pop_back();
    }
    return message.empty() ? "unknown error" : message;
}

}  // namespace

std::string archiveStatusLine(const std::vector<library::ItemOutcome>& outcomes,
                              const std::string& folder, bool simulatorLibrary) {
    std::size_t saved = 0;
    std::size_t already = 0;
    const library::ItemOutcome* firstFailure = nullptr;
    std::size_t failed = 0;
    for (const library::ItemOutcome& item : outcomes) {
        if (item.outcome.ok()) {
            ++saved;
        } else if (item.outcome.status == library::LibraryStatus::Duplicate) {
            ++already;
        } else {
            ++failed;
            if (firstFailure == nullptr) {
                firstFailure = &item;
            }
        }
    }
    const std::string where =
        std::string(text::libraryName(simulatorLibrary)) + " (" + folder + ")";
    if (failed > 0) {
        std::string line = saved == 0 ? "Could not save " + flights(failed) + " to " + where
                                      : "Saved " + std::to_string(saved) + " of " +
                                            flights(outcomes.size()) + " to " + where;
        line += "; set " + std::to_string(firstFailure->setNumber) + ": " +
                clause(firstFailure->outcome.message) + ".";
        return line + kKeptNote;
    }
    if (saved == 0) {
        return "All " + flights(already) + " were already in " + where + ".\r\n";
    }
    std::string line = "Saved " + flights(saved) + " to " + where;
    if (already > 0) {
        line +=
            "; " + std::to_string(already) + (already == 1 ? " was" : " were") + " already there";
    }
    return line + ".\r\n";
}

std::string archiveDownload(const device::AltimeterDevice& device, LibraryService& service) {
    const data::DataSetStore& store = device.store;
    if (!service.configured() || store.setCount() == 0) {
        return {};
    }
    const std::string folder = service.folder().string();
    library::Outcome opened;
    const std::shared_ptr<library::FlightLibrary> lib = service.acquire(&opened);
    if (!lib) {
        const bool repairable = opened.status == library::LibraryStatus::IndexDamaged ||
                                opened.status == library::LibraryStatus::IndexMissing;
        return "Could not save to " + std::string(text::libraryName(service.simulatorLibrary())) +
               " (" + folder + "): " + clause(opened.message) + "." +
               (repairable ? " File > Flight Library... can rebuild it." : "") + kKeptNote;
    }
    library::DownloadInput input;
    input.packets = store.packets;
    input.settings = store.settings;
    input.comments = store.comments;
    input.firmwareVersion = device::versionString(device.link.device().versionNumber);
    input.altimeter = device.link.device().path;
    return archiveStatusLine(lib->archiveDownload(input), folder, service.simulatorLibrary());
}

}  // namespace tevusb::ui
