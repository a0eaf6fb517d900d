// SPDX-License-Identifier: MIT
#include "device/sim/sim_altimeter.h"

#include <algorithm>
#include <cstring>

#include "device/sim/factory_settings.h"

namespace tevusb::device::sim {

SimAltimeter::SimAltimeter(std::string path, const SimConfig& config,
                           std::shared_ptr<NotifierHub> notifier)
    : m_path(std::move(path)),
      m_notifier(std::move(notifier)),
      m_attached(config.attached),
      m_bootloader(config.bootloader),
      m_firmwareVersion(config.firmwareVersion),
      m_bootloaderVersion(config.bootloaderVersion),
      m_state(config),
      m_application(m_state),
      m_bootloaderFirmware(config.hardwareVersion),
      m_faults(config.seed) {
    m_state.settingsImage = factorySettingsImage();
    loadFlightsLocked(config.flights);
}

// --- Presence and mode -------------------------------------------------------------

HidDeviceInfo SimAltimeter::info() const {
    std::lock_guard lock(m_mutex);
    HidDeviceInfo info;
    info.path = m_path;
    info.vendorId = kVendorId;
    info.productId = m_bootloader ? kBootloaderProductId : kApplicationProductId;
    info.versionNumber = m_bootloader ? m_bootloaderVersion : m_firmwareVersion;
    return info;
}

bool SimAltimeter::isAttached() const {
    std::lock_guard lock(m_mutex);
    return m_attached;
}

bool SimAltimeter::inBootloader() const {
    std::lock_guard lock(m_mutex);
    return m_bootloader;
}

void SimAltimeter::detachLocked() {
    if (!m_attached) {
        return;
    }
    m_attached = false;
    ++m_generation;
    m_queue.clear();
    m_changed.notify_all();
    if (m_notifier) {
        m_notifier->signal();
    }
}

void SimAltimeter::attachLocked() {
    if (m_attached) {
        return;
    }
    // A device that comes back starts from power-up: no exchange is half done.
    m_attached = true;
    m_application.restart();
    m_bootloaderFirmware.restart();
    m_lastReady = {};
    if (m_notifier) {
        m_notifier->signal();
    }
}

void SimAltimeter::attach() {
    std::lock_guard lock(m_mutex);
    attachLocked();
}

void SimAltimeter::detach() {
    std::lock_guard lock(m_mutex);
    detachLocked();
}

void SimAltimeter::switchToBootloader() {
    std::lock_guard lock(m_mutex);
    detachLocked();
    m_bootloader = true;
    attachLocked();
}

void SimAltimeter::switchToApplication() {
    std::lock_guard lock(m_mutex);
    detachLocked();
    m_bootloader = false;
    attachLocked();
}

// --- Identity and timing -------------------------------------------------------------

void SimAltimeter::setFirmwareVersion(std::uint16_t version) {
    std::lock_guard lock(m_mutex);
    m_firmwareVersion = version;
}

void SimAltimeter::setBootloaderVersion(std::uint16_t version) {
    std::lock_guard lock(m_mutex);
    m_bootloaderVersion = version;
}

void SimAltimeter::setHardwareVersion(std::uint16_t version) {
    std::lock_guard lock(m_mutex);
    m_bootloaderFirmware.setHardwareVersion(version);
}

void SimAltimeter::setTiming(const SimTiming& timing) {
    std::lock_guard lock(m_mutex);
    m_state.timing = timing;
}

SimTiming SimAltimeter::timing() const {
    std::lock_guard lock(m_mutex);
    return m_state.timing;
}

}  // namespace tevusb::device::sim
