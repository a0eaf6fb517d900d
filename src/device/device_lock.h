// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tevusb::device {

// An advisory lock on one altimeter, held by whoever writes its settings, so that two
// programs (the window and tevusb-cli, or two command lines) never interleave their writes
// to one device. It is a lock file in the user's runtime folder named after the device
// path; the system drops it when its holder ends, also when it crashes.
class DeviceLock {
  public:
    // Waits up to `waitMs` for the lock of `devicePath`; nothing when another holder kept it
    // (or the lock file cannot be made), with the sentence that says so in `why`.
    static std::optional<DeviceLock> acquire(const std::string& devicePath, int waitMs,
                                             std::string& why);
    ~DeviceLock();
    DeviceLock(DeviceLock&& other) noexcept;
    DeviceLock& operator=(DeviceLock&&) = delete;
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

    // Where the lock file of a device lies: $XDG_RUNTIME_DIR, else the temporary folder.
    static std::filesystem::path lockFile(const std::string& devicePath);

  private:
    explicit DeviceLock(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

}  // namespace tevusb::device
