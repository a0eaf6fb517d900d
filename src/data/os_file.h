// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <filesystem>

// The few operating-system file calls the safe file writer needs beyond the standard
// library: an exclusive create, an unbuffered write, a sync to the disk. POSIX systems
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

}  // namespace tevusb::data::os
