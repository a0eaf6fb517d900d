// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tevusb::library {

// The library folder: the --library option (UTF-8 text) when given, else $TEVUSB_LIBRARY, else
// $XDG_DATA_HOME/tevusb, else ~/.local/share/tevusb (XDG_DATA_HOME unset or relative).
// Empty only when not even HOME is known. On Windows: the option, else %TEVUSB_LIBRARY%,
// else %LOCALAPPDATA%\tevusb.
std::filesystem::path resolveLibraryFolder(const std::optional<std::string>& option);

}  // namespace tevusb::library
