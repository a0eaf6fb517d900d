// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tevusb::cli {

// The global --library DIR, taken by main before the command runs.
void setLibraryOption(std::optional<std::string> folder);
// The global --simulator: without --library its flights go to a library of their own.
void setSimulatorLibrary(bool simulator);
// The library folder the commands use: --library, else TEVUSB_LIBRARY, else the XDG one;
// with --simulator and no --library, the "simulator" folder inside the latter two.
std::filesystem::path libraryFolder();
// The folder is the simulator's own library (--simulator without --library).
bool simulatorLibrary();

}  // namespace tevusb::cli
