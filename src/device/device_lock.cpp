// SPDX-License-Identifier: MIT
#include "device/device_lock.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tevusb::device {

namespace {

constexpr auto kRetry = std::chrono::milliseconds(20);

// The lock is the system's exclusive lock on the open lock file: flock on Linux, LockFileEx
// on Windows. Either is released when its holder closes the file or ends.
#if defined(_WIN32)
HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}
int openLockFile(const std::filesystem::path& file) {
    return _wopen(file.c_str(), _O_CREAT | _O_RDWR | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}
bool tryLock(int fd) {
    OVERLAPPED start{};
    return ::LockFileEx(handleOf(fd), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                        &start) != 0;
}
void unlockAndClose(int fd) {
    OVERLAPPED start{};
    ::UnlockFileEx(handleOf(fd), 0, 1, 0, &start);
    _close(fd);
}
#else
int openLockFile(const std::filesystem::path& file) {
    return ::open(file.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
}
bool tryLock(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}
void unlockAndClose(int fd) {
    ::flock(fd, LOCK_UN);
    ::close(fd);
}
#endif

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
    const int fd = openLockFile(file);
    if (fd < 0) {
        why = "Could not create the lock file " + file.string() + " for the altimeter.";
        return std::nullopt;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (!tryLock(fd)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            unlockAndClose(fd);
            why = "Another program is writing to the altimeter (" + devicePath +
                  ") right now; try again when it has finished.";
            return std::nullopt;
        }
        std::this_thread::sleep_for(kRetry);
    }
    return DeviceLock(fd);
}

DeviceLock::DeviceLock(DeviceLock&& other) noexcept : m_fd(other.m_fd) {
    other.m_fd = -1;
}

DeviceLock::~DeviceLock() {
    if (m_fd >= 0) {
        unlockAndClose(m_fd);
    }
}

}  // namespace tevusb::device
