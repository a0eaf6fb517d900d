// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tevusb::cli {

// The global --library DIR, taken by main before the command runs.
void setLibraryOption(std::optional<std::string> folder);
// The library folder the commands use: --library, else TEVUSB_LIBRARY, else the XDG one.
std::filesystem::path libraryFolder();

}  // namespace tevusb::cli
