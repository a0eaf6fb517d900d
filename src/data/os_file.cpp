// SPDX-License-Identifier: MIT
#include "data/os_file.h"

#include <cerrno>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
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

#endif

}  // namespace tevusb::data::os
