// SPDX-License-Identifier: MIT
#include "device/device_lock.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tevusb::device {

namespace {

constexpr auto kRetry = std::chrono::milliseconds(20);

}  // namespace

std::filesystem::path DeviceLock::lockFile(const std::string& devicePath) {
    std::string name = "tevusb-device-";
    for (const char c : devicePath) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        name += plain ? c : '_';
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code ec;
    const std::filesystem::path folder = runtime != nullptr && *runtime != '\0'
                                             ? std::filesystem::path(runtime)
                                             : std::filesystem::temp_directory_path(ec);
    return folder / (name + ".lock");
}

std::optional<DeviceLock> DeviceLock::acquire(const std::string& devicePath, int waitMs,
                                              std::string& why) {
    const std::filesystem::path file = lockFile(devicePath);
#if defined(_WIN32)
    // Windows opens a HID device for one program at a time already.
    (void)waitMs;
    const int fd = _open(file.string().c_str(), _O_CREAT | _O_RDWR, 0600);
    if (fd < 0) {
        why = "Could not create the lock file " + file.string() + ".";
        return std::nullopt;
    }
    return DeviceLock(fd);
#else
    const int fd = ::open(file.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
        why = "Could not create the lock file " + file.string() + " for the altimeter.";
        return std::nullopt;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            why = "Another program is writing to the altimeter (" + devicePath +
                  ") right now; try again when it has finished.";
            return std::nullopt;
        }
        std::this_thread::sleep_for(kRetry);
    }
    return DeviceLock(fd);
#endif
}

DeviceLock::DeviceLock(DeviceLock&& other) noexcept : m_fd(other.m_fd) {
    other.m_fd = -1;
}

DeviceLock::~DeviceLock() {
    if (m_fd >= 0) {
#if defined(_WIN32)
        _close(m_fd);
#else
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
#endif
    }
}

}  // namespace tevusb::device
