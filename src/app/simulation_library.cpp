// SPDX-License-Identifier: MIT
#include "app/simulation_library.h"

#include "ui/library_service.h"

namespace tevusb::app {

std::optional<library::FlightRecord> libraryFlightOf(const std::filesystem::path& shownFile,
                                                     std::string* reason) {
    const auto say = [&](std::string text) {
        if (reason != nullptr) {
            *reason = std::move(text);
        }
    };
    if (shownFile.empty() || !ui::libraryService().configured()) {
        say("The shown flight is not a flight of the library; open it from the library first.");
        return std::nullopt;
    }
    library::Outcome outcome;
    const auto lib = ui::libraryService().acquire(&outcome);
    if (!lib) {
        say(outcome.message);
        return std::nullopt;
    }
    auto record = lib->findArchived(shownFile, &outcome);
    if (!record) {
        say(outcome.status == library::LibraryStatus::NotFound
                ? "The shown flight is not a flight of the library; open it from the library "
                  "first."
                : outcome.message);
    }
    return record;
}

std::optional<library::AttachedSimulation> attachedSimulationOf(
    const std::filesystem::path& shownFile) {
    const auto record = libraryFlightOf(shownFile);
    if (!record) {
        return std::nullopt;
    }
    const auto lib = ui::libraryService().acquire();
    return lib ? lib->attachedSimulation(record->id) : std::nullopt;
}

std::string keepWithLibraryFlight(const std::filesystem::path& shownFile,
                                  const std::filesystem::path& simFile,
                                  const std::string& simName) {
    std::string reason;
    const auto record = libraryFlightOf(shownFile, &reason);
    if (!record) {
        return reason;
    }
    const auto lib = ui::libraryService().acquire();
    if (!lib) {
        return "The flight library cannot be opened.";
    }
    const auto outcome = lib->attachSimulation(record->id, simFile, simName);
    return outcome.ok() ? std::string() : outcome.message;
}

}  // namespace tevusb::app
