// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "analysis/units.h"
#include "library/flight_library.h"

namespace tevusb::cli {

// tevusb-cli library attach-sim ID FILE [--sim-name NAME] on the open library: keeps a
// copy of the simulation with the flight, or says in one line why it cannot.
int runAttachSimulation(library::FlightLibrary& library, std::int64_t id, const std::string& file,
                        const std::optional<std::string>& simName, std::ostream& out,
                        std::ostream& err);

// "Simulation: NAME (FILE), apogee 713.3 m, flight -8.0 %" for `library show`; nothing
// when none is attached.
void printAttachment(std::ostream& out, const library::FlightLibrary& library,
                     const library::FlightRecord& record, analysis::UnitSystem units);

}  // namespace tevusb::cli
