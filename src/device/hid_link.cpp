// SPDX-License-Identifier: MIT
#include "device/hid_link.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>
#include <unordered_set>
#include <utility>

#include "device/transfer_thread.h"
#include "log/diagnostic_log.h"

namespace tevusb::device {

namespace {

// Stands in when no backend is given, so that the link never dereferences null.
class NoBackend final : public HidBackend {
  public:
    std::vector<HidDeviceInfo> enumerate() override { return {}; }
    std::unique_ptr<HidHandle> open(const std::string&) override { return nullptr; }
};

std::shared_ptr<HidBackend> orNoBackend(std::shared_ptr<HidBackend> backend) {
    return backend ? std::move(backend) : std::make_shared<NoBackend>();
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

struct HidLink::State {
    mutable std::mutex mutex;
    std::shared_ptr<HidBackend> backend;
    HidDeviceInfo device;
    // Shared with a worker's transfer in flight, so that close() never frees it under one.
    std::shared_ptr<TransferThread> transfers;
    // Counts closes, so that an open racing a close (a removal during a connect) does not
    // leave the link open behind the window thread's back.
    unsigned closes = 0;

    std::shared_ptr<TransferThread> currentTransfers() const {
        std::lock_guard lock(mutex);
        return transfers;
    }
};

HidLink::HidLink(std::shared_ptr<HidBackend> backend) : m_state(std::make_unique<State>()) {
    m_state->backend = orNoBackend(std::move(backend));
}

HidLink::~HidLink() {
    close();
}

void HidLink::setBackend(std::shared_ptr<HidBackend> backend) {
    close();
    std::shared_ptr<HidBackend> old;
    std::lock_guard lock(m_state->mutex);
    old = std::exchange(m_state->backend, orNoBackend(std::move(backend)));
}

HidBackend& HidLink::backend() const {
    std::lock_guard lock(m_state->mutex);
    return *m_state->backend;
}

std::vector<HidDeviceInfo> HidLink::findDevices(std::uint16_t vendorId, std::uint16_t productId,
                                                std::uint16_t version, std::uint16_t mask) {
    std::shared_ptr<HidBackend> backend;
    {
        std::lock_guard lock(m_state->mutex);
        backend = m_state->backend;
    }
    std::vector<HidDeviceInfo> found;
    std::unordered_set<std::string> seen;
    for (const HidDeviceInfo& info : backend->enumerate()) {
        // A device with several top-level collections is listed once per collection by
        // some backends; it is still one interface to open.
        if (!seen.insert(info.path).second) {
            continue;
        }
        if ((vendorId == 0 || vendorId == info.vendorId) &&
            (productId == 0 || productId == info.productId) &&
            (info.versionNumber & mask) == version) {
            found.push_back(info);
        }
    }
    return found;
}

void HidLink::setDevice(const HidDeviceInfo& info) {
    std::lock_guard lock(m_state->mutex);
    m_state->device = info;
}

HidDeviceInfo HidLink::device() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->device;
}

bool HidLink::open() {
    std::shared_ptr<HidBackend> backend;
    std::string path;
    unsigned closes = 0;
    {
        std::lock_guard lock(m_state->mutex);
        if (m_state->transfers) {
            return true;
        }
        backend = m_state->backend;
        path = m_state->device.path;
        closes = m_state->closes;
    }
    std::unique_ptr<HidHandle> handle = path.empty() ? nullptr : backend->open(path);
    if (!handle) {
        // One handle serves both directions here, so both are reported invalid.
        log::logLine("Cant get USB file handle. The file is locked.");
        log::logLine("Invalid read handle.");
        log::logLine("Invalid write handle.");
        return false;
    }
    std::shared_ptr<TransferThread> transfers = TransferThread::start(std::move(handle));
    if (!transfers) {
        return false;
    }
    std::lock_guard lock(m_state->mutex);
    if (m_state->closes != closes) {
        return false;  // closed meanwhile; the new handle goes with `transfers`
    }
    if (!m_state->transfers) {
        m_state->transfers = std::move(transfers);
    }
    return true;
}

bool HidLink::isOpen() const {
    return m_state->currentTransfers() != nullptr;
}

void HidLink::close() {
    std::shared_ptr<TransferThread> transfers;
    {
        std::lock_guard lock(m_state->mutex);
        transfers = std::move(m_state->transfers);
        ++m_state->closes;
    }
    if (transfers) {
        transfers->stop();
    }
}

bool HidLink::read(std::uint8_t* buffer, std::size_t length, int timeoutMs) {
    std::shared_ptr<TransferThread> transfers = m_state->currentTransfers();
    if (!transfers || buffer == nullptr || length < 2) {
        return false;
    }
    std::vector<std::uint8_t> report(length - 1, 0);
    const int got = transfers->read(report.data(), report.size(), timeoutMs);
    if (got <= 0) {
        return false;
    }
    buffer[0] = 0;
    const std::size_t n = std::min(report.size(), static_cast<std::size_t>(got));
    std::memcpy(buffer + 1, report.data(), n);
    std::memset(buffer + 1 + n, 0, report.size() - n);
    return true;
}

bool HidLink::write(const std::uint8_t* buffer, std::size_t length, int timeoutMs) {
    std::shared_ptr<TransferThread> transfers = m_state->currentTransfers();
    if (!transfers || buffer == nullptr || length < 2) {
        return false;
    }
    // Backends count the report id byte or not; either way the whole payload must be out.
    const int written = transfers->write(buffer, length, timeoutMs);
    return written > 0 && static_cast<std::size_t>(written) >= length - 1;
}

bool HidLink::isSameDevice(const std::string& removedPath) const {
    const std::string own = device().path;
    log::logLine("->", own);
    log::logLine("->", removedPath);
    if (!own.empty() && equalIgnoringCase(own, removedPath)) {
        return true;
    }
    log::logLine("Match Failed.");
    return false;
}

}  // namespace tevusb::device
