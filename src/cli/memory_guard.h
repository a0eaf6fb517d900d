// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "library/flight_library.h"

namespace tevusb::device {
class AltimeterDevice;
}

namespace tevusb::cli {

// The flight library as the altimeter commands consult it, opened once per command.
struct OpenedLibrary {
    std::filesystem::path folder;
    std::unique_ptr<library::FlightLibrary> library;  // null when it could not be opened
    library::Outcome opened;                          // why not, then
};
OpenedLibrary openLibrary();

// "the flight library (DIR)", or the simulator's, as the status lines name it.
std::string libraryWithFolder(const OpenedLibrary& lib);

// Run before a command empties the altimeter's flight memory (clear, a settings write, a
// calibration): reads the memory aside and compares each set with the library by its
// packets. Sets the library does not hold (all of them when it cannot be asked) stop the
// command with one message on `err` unless `force`; a memory that cannot be read stops it
// too. True when the command may go on to its confirmation.
bool eraseAllowed(device::AltimeterDevice& device, const OpenedLibrary& lib, bool force,
                  std::ostream& err);

// The highest apogee above ground of the library's flights of `rocket` (its name compared
// exactly, ignoring case); empty when none is known.
std::optional<double> highestRocketApogee(const OpenedLibrary& lib, const std::string& rocket);

}  // namespace tevusb::cli
