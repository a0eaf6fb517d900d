// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tevusb::library {

// File operations that never replace an existing file and reach the disk before they
// report success: archive files are written once and then only read.
namespace archive_files {

enum class Placed { Written, SameExists, OtherExists, Failed };

// Writes `bytes` as the new file `target` (synced, then linked into place, then the folder
// synced). SameExists when a file with exactly these bytes is already there.
Placed writeNew(const std::filesystem::path& target, std::string_view bytes, std::string& error);
// Moves `from` to `to`, which must not exist; both folders synced.
bool moveNew(const std::filesystem::path& from, const std::filesystem::path& to,
             std::string& error);
// create_directories, with every new folder's parent synced.
bool makeFolders(const std::filesystem::path& folder, std::string& error);
bool syncFolder(const std::filesystem::path& folder);
// True for the temporary files writeNew leaves when its process dies mid-write.
bool isTemporary(const std::filesystem::path& file);
// Removes such a file when the process that wrote it is gone.
void removeStaleTemporary(const std::filesystem::path& file);

}  // namespace archive_files
}  // namespace tevusb::library
