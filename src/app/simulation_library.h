// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "library/flight_library.h"

namespace tevusb::app {

// The library flight whose archive file `shownFile` is, when the program has a library
// and the file is one of its flights; `reason` says why not when it is worth saying.
std::optional<library::FlightRecord> libraryFlightOf(const std::filesystem::path& shownFile,
                                                     std::string* reason = nullptr);

// The simulation kept with the library flight shown from `shownFile`; nothing for a file
// outside the library or a flight without one. Any thread.
std::optional<library::AttachedSimulation> attachedSimulationOf(
    const std::filesystem::path& shownFile);

// Keeps `simFile` (the simulation named) with the library flight shown from `shownFile`:
// empty on success, else one line saying why not. Any thread; it copies the file.
std::string keepWithLibraryFlight(const std::filesystem::path& shownFile,
                                  const std::filesystem::path& simFile, const std::string& simName);

}  // namespace tevusb::app
