// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>

#include "data/utf8_path.h"

namespace tevusb::cli {

// Every word this program is given is UTF-8 (on Windows main makes it so from the wide
// command line), and so is every name it prints: arguments, environment values and stored
// text become file names only through toPath, and file names become text only through
// toText.
inline std::filesystem::path toPath(const std::string& utf8) {
    return data::utf8ToPath(utf8);
}

inline std::string toText(const std::filesystem::path& path) {
    return data::pathToUtf8(path);
}

}  // namespace tevusb::cli
