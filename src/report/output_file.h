// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <filesystem>
#include <string>

namespace tevusb::report {

// Writes a finished picture or report in one piece: beside the target first, renamed
// over it only when every byte is on disk, so a failure never leaves half a file.
// Empty on success, otherwise one line saying why.
std::string writeOutputFile(const std::filesystem::path& path, const QByteArray& bytes);

}  // namespace tevusb::report
