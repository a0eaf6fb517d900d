// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>

namespace tevusb::data {

// A file name as UTF-8 text and back. A std::string handed straight to a path is read in
// Windows' ANSI code page, where "Flüge Ω" cannot be written, while path::string() gives
// UTF-8 there: text that names a file goes through these two instead. On Linux both copy
// the bytes unchanged.
inline std::filesystem::path utf8ToPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string pathToUtf8(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

}  // namespace tevusb::data
