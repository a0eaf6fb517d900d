// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <filesystem>

// The few operating-system file calls the safe file writers (saved files and the flight
// library's archive) need beyond the standard library: an exclusive create, an unbuffered
// write, a sync of a file or a folder to the disk, whether a process still runs. POSIX systems
// and Windows each have their branch in os_file.cpp; nothing else in the core includes
// system headers.
namespace tevusb::data::os {

// The process's id, to keep temporary names of two running programs apart.
long processId();
// False when `path` exists and this process may not write it.
bool mayWrite(const std::filesystem::path& path);
// Creates `path`, failing if it exists: a descriptor, or -1.
int createExclusive(const std::filesystem::path& path);
// Writes part of `size` bytes; the count written, or -1 on an error (never an interrupt).
long writeSome(int fd, const char* data, std::size_t size);
// Pushes the written bytes to the disk and closes; false when either fails.
bool syncAndClose(int fd);
void closeFile(int fd);
// Creates `path` or empties it when it exists: a descriptor, or -1.
int createOrTruncate(const std::filesystem::path& path);
// Makes the entries of `folder` (files created, linked or removed in it) durable.
bool syncFolder(const std::filesystem::path& folder);
// False only when process `pid` is known to be gone; anything uncertain counts as alive,
// so a file another running program is still writing is never taken for litter.
bool processAlive(long pid);

}  // namespace tevusb::data::os
