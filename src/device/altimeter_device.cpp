// SPDX-License-Identifier: MIT
#include "device/altimeter_device.h"

#include <algorithm>

#include "log/diagnostic_log.h"

namespace tevusb::device {

using log::logLine;

AltimeterDevice::AltimeterDevice(std::shared_ptr<HidBackend> backend) : link(std::move(backend)) {}

bool AltimeterDevice::sendMessage(std::uint16_t value, std::uint8_t code) {
    m_sendBuffer = {0, static_cast<std::uint8_t>(value & 0xFF),
                    static_cast<std::uint8_t>(value >> 8), code};
    return link.write(m_sendBuffer.data(), m_sendBuffer.size(), kMessageTimeoutMs);
}

bool AltimeterDevice::receiveMessage(int timeoutMs, std::uint16_t& value, std::uint8_t& code) {
    // A stale reply must never be read back as a fresh one.
    m_receiveBuffer.fill(0);
    if (!link.read(m_receiveBuffer.data(), m_receiveBuffer.size(), timeoutMs)) {
        return false;
    }
    value = static_cast<std::uint16_t>(m_receiveBuffer[1] | (m_receiveBuffer[2] << 8));
    code = m_receiveBuffer[3];
    return true;
}

int AltimeterDevice::connect(ConnectMode mode, std::uint16_t* outVersion) {
    link.close();
    // The flag describes the open link; a failed connect leaves none.
    m_bootloader = false;
    const DeviceIdentity& id =
        mode == ConnectMode::Bootloader ? kBootloaderIdentity : kApplicationIdentity;
    const auto matched = link.findDevices(id.vendorId, id.productId, id.version, id.mask);
    const auto anyVersion = link.findDevices(id.vendorId, id.productId, 0, 0);
    if (matched.empty() && anyVersion.empty()) {
        return result::kTimeout;
    }
    if (matched.empty()) {
        if (outVersion != nullptr) {
            *outVersion = anyVersion.front().versionNumber;
        }
        return result::kProtocolError;
    }
    if (outVersion != nullptr) {
        *outVersion = matched.front().versionNumber;
    }
    link.setDevice(matched.front());
    if (!link.open()) {
        return result::kCancelled;
    }
    m_bootloader = mode == ConnectMode::Bootloader;
    return result::kConnected;
}

bool AltimeterDevice::reset() {
    if (!sendMessage(0, code(CommandCode::Reset))) {
        logLine("Write Error.");
        return false;
    }
    return true;
}

void AltimeterDevice::requestCancel() {
    m_cancel = true;
}

void AltimeterDevice::disconnect() {
    link.close();
    m_cancel = false;
    m_bootloader = false;
}

bool AltimeterDevice::isBootloader() const {
    return m_bootloader;
}

void AltimeterDevice::clearCancel() {
    m_cancel = false;
}

bool AltimeterDevice::cancelRequested() const {
    const CancelFlag caller = m_callerCancel.load();
    return m_cancel || (caller != nullptr && caller->load());
}

}  // namespace tevusb::device
