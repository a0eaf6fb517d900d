// Stands in for the transport only while it is not on this branch yet: the simplest link
// that honours its header, so the protocol can be exercised against scripted devices.
#include <algorithm>
#include <cctype>

#include "device/hid_link.h"

namespace tevusb::device {

struct HidLink::State {
    std::shared_ptr<HidBackend> backend;
    HidDeviceInfo device;
    std::unique_ptr<HidHandle> handle;
};

HidLink::HidLink(std::shared_ptr<HidBackend> backend) : m_state(std::make_unique<State>()) {
    m_state->backend = std::move(backend);
}

HidLink::~HidLink() = default;

void HidLink::setBackend(std::shared_ptr<HidBackend> backend) {
    close();
    m_state->backend = std::move(backend);
}

HidBackend& HidLink::backend() const {
    return *m_state->backend;
}

std::vector<HidDeviceInfo> HidLink::findDevices(std::uint16_t vendorId, std::uint16_t productId,
                                                std::uint16_t version, std::uint16_t mask) {
    std::vector<HidDeviceInfo> found;
    for (const auto& d : m_state->backend->enumerate()) {
        if ((vendorId == 0 || vendorId == d.vendorId) &&
            (productId == 0 || productId == d.productId) && (d.versionNumber & mask) == version) {
            found.push_back(d);
        }
    }
    return found;
}

void HidLink::setDevice(const HidDeviceInfo& info) {
    m_state->device = info;
}

HidDeviceInfo HidLink::device() const {
    return m_state->device;
}

bool HidLink::open() {
    if (!m_state->handle) {
        m_state->handle = m_state->backend->open(m_state->device.path);
    }
    return m_state->handle != nullptr;
}

bool HidLink::isOpen() const {
    return m_state->handle != nullptr;
}

void HidLink::close() {
    m_state->handle.reset();
}

bool HidLink::read(std::uint8_t* buffer, std::size_t length, int timeoutMs) {
    if (!m_state->handle || length == 0) {
        return false;
    }
    std::vector<std::uint8_t> payload(length - 1);
    const int n = m_state->handle->read(payload.data(), payload.size(), timeoutMs);
    if (n <= 0) {
        return false;
    }
    buffer[0] = 0;
    std::copy(payload.begin(), payload.end(), buffer + 1);
    return true;
}

bool HidLink::write(const std::uint8_t* buffer, std::size_t length, int timeoutMs) {
    return m_state->handle && m_state->handle->write(buffer, length, timeoutMs) >= 0;
}

bool HidLink::isSameDevice(const std::string& removedPath) const {
    const auto& path = m_state->device.path;
    return std::equal(path.begin(), path.end(), removedPath.begin(), removedPath.end(),
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

}  // namespace tevusb::device
