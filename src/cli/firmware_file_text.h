// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>

namespace tevusb::cli {

// What is wrong with a firmware file, as one line that names it ("fw.dat does not
// exist."), or "" for a file that reads as a firmware file. Said after the update's own
// lines, which never name the file and call a file cut short a protocol error.
std::string firmwareFileProblem(const std::filesystem::path& path);

}  // namespace tevusb::cli
