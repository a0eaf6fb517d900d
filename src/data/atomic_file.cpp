// SPDX-License-Identifier: MIT
#include "data/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

#include "data/os_file.h"

namespace tevusb::data {

namespace {

std::filesystem::path tempNameFor(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    // Joined as paths, so that the name is never narrowed to a code page on Windows.
    std::filesystem::path name(".");
    name += target.filename();
    name += ".tmp" + std::to_string(os::processId()) + "." + std::to_string(counter.fetch_add(1));
    return target.parent_path() / name;
}

// The system's error in the words a flyer needs for the usual causes, its own text otherwise.
std::string errorText(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return "its folder does not exist";
        case EACCES:
        case EPERM:
            return "permission denied";
        case ENOSPC:
            return "the disk is full";
        case EROFS:
            return "the disk is read-only";
        case 0:
            return "the system gave no reason";
        default:
            return std::generic_category().message(error);
    }
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : m_target(std::move(target)) {
    std::error_code ec;
    if (m_target.filename().empty() || std::filesystem::is_directory(m_target, ec)) {
        fail("it is a folder");
        return;
    }
    if (std::filesystem::exists(m_target, ec) && !os::mayWrite(m_target)) {
        fail("it is write-protected");
        return;
    }
    m_temp = tempNameFor(m_target);
    errno = 0;
    m_fd = os::createExclusive(m_temp);
    if (m_fd < 0) {
        fail(errorText(errno));
    }
}

void AtomicFile::fail(std::string reason) {
    m_failed = true;
    if (m_reason.empty()) {
        m_reason = std::move(reason);
    }
}

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::write(std::string_view bytes) {
    if (m_fd < 0) {
        m_failed = true;
        return;
    }
    while (!bytes.empty() && !m_failed) {
        errno = 0;
        const long n = os::writeSome(m_fd, bytes.data(), bytes.size());
        if (n < 0) {
            fail(errorText(errno));
        } else {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }
}

bool AtomicFile::commit() {
    if (m_fd < 0) {
        return false;
    }
    bool ok = !m_failed;
    errno = 0;
    if (!os::syncAndClose(m_fd)) {
        fail(errorText(errno));
        ok = false;
    }
    m_fd = -1;
    if (ok) {
        std::error_code ec;
        std::filesystem::rename(m_temp, m_target, ec);
        if (ec) {
            fail(ec.message());
            ok = false;
        }
    }
    if (!ok) {
        std::error_code ec;
        std::filesystem::remove(m_temp, ec);
    }
    m_temp.clear();
    return ok;
}

void AtomicFile::discard() {
    if (m_fd >= 0) {
        os::closeFile(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty()) {
        std::error_code ec;
        std::filesystem::remove(m_temp, ec);
        m_temp.clear();
    }
}

}  // namespace tevusb::data
