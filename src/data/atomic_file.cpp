// SPDX-License-Identifier: MIT
#include "data/atomic_file.h"

#include <atomic>
#include <string>

#include "data/os_file.h"

namespace tevusb::data {

namespace {

std::filesystem::path tempNameFor(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    std::string name(".");
    name.append(target.filename().string());
    name.append(".tmp");
    name.append(std::to_string(os::processId()));
    name.push_back('.');
    name.append(std::to_string(counter.fetch_add(1)));
    return target.parent_path() / name;
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : m_target(std::move(target)) {
    std::error_code ec;
    if (std::filesystem::exists(m_target, ec) && !os::mayWrite(m_target)) {
        return;
    }
    if (m_target.filename().empty() || std::filesystem::is_directory(m_target, ec)) {
        return;
    }
    m_temp = tempNameFor(m_target);
    m_fd = os::createExclusive(m_temp);
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
        const long n = os::writeSome(m_fd, bytes.data(), bytes.size());
        if (n < 0) {
            m_failed = true;
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
    ok = os::syncAndClose(m_fd) && ok;
    m_fd = -1;
    if (ok) {
        std::error_code ec;
        std::filesystem::rename(m_temp, m_target, ec);
        ok = !ec;
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
