// SPDX-License-Identifier: MIT
#include "data/os_file.h"

#include <cerrno>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace tevusb::data::os {

#if defined(_WIN32)

long processId() {
    return static_cast<long>(::_getpid());
}

bool mayWrite(const std::filesystem::path& path) {
    constexpr int kWriteAccess = 2;
    return ::_waccess(path.c_str(), kWriteAccess) == 0;
}

int createExclusive(const std::filesystem::path& path) {
    int fd = -1;
    const errno_t failed =
        ::_wsopen_s(&fd, path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _SH_DENYWR, _S_IREAD | _S_IWRITE);
    return failed == 0 ? fd : -1;
}

long writeSome(int fd, const char* data, std::size_t size) {
    constexpr std::size_t kLargestWrite = 1u << 30;
    const unsigned part = static_cast<unsigned>(size < kLargestWrite ? size : kLargestWrite);
    return ::_write(fd, data, part);
}

bool syncAndClose(int fd) {
    const bool synced = ::_commit(fd) == 0;
    return (::_close(fd) == 0) && synced;
}

void closeFile(int fd) {
    ::_close(fd);
}

int createOrTruncate(const std::filesystem::path& path) {
    int fd = -1;
    const errno_t failed =
        ::_wsopen_s(&fd, path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                    _SH_DENYWR, _S_IREAD | _S_IWRITE);
    return failed == 0 ? fd : -1;
}

bool syncFolder(const std::filesystem::path&) {
    // NTFS journals its folder entries itself, and a folder cannot be opened for a flush
    // without backup rights; the files' own commits are what can be done here.
    return true;
}

bool processAlive(long pid) {
    if (pid <= 0) {
        return true;
    }
    HANDLE process =
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr) {
        // No such process is the one certain answer; a process of another user that
        // may not be opened still runs.
        return ::GetLastError() != ERROR_INVALID_PARAMETER;
    }
    DWORD exitCode = 0;
    const bool known = ::GetExitCodeProcess(process, &exitCode) != 0;
    ::CloseHandle(process);
    // A process that has ended but whose handle someone still holds is gone too.
    return !known || exitCode == STILL_ACTIVE;
}

#else

long processId() {
    return static_cast<long>(::getpid());
}

bool mayWrite(const std::filesystem::path& path) {
    return ::access(path.c_str(), W_OK) == 0;
}

int createExclusive(const std::filesystem::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

long writeSome(int fd, const char* data, std::size_t size) {
    for (;;) {
        const ssize_t n = ::write(fd, data, size);
        if (n >= 0 || errno != EINTR) {
            return static_cast<long>(n);
        }
    }
}

bool syncAndClose(int fd) {
    const bool synced = ::fsync(fd) == 0;
    return (::close(fd) == 0) && synced;
}

void closeFile(int fd) {
    ::close(fd);
}

int createOrTruncate(const std::filesystem::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

bool syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    errno = error;
    return ok;
}

bool processAlive(long pid) {
    return !(pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
}

#endif

}  // namespace tevusb::data::os
