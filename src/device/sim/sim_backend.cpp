// SPDX-License-Identifier: MIT
#include "device/sim/sim_backend.h"

#include "device/sim/sim_handle.h"

namespace tevusb::device::sim {

SimBackend::SimBackend(const SimConfig& config) : m_notifier(std::make_shared<NotifierHub>()) {
    addAltimeter(config);
}

SimAltimeter& SimBackend::altimeter(std::size_t index) {
    std::lock_guard lock(m_mutex);
    return *m_altimeters.at(index);
}

std::size_t SimBackend::altimeterCount() const {
    std::lock_guard lock(m_mutex);
    return m_altimeters.size();
}

SimAltimeter& SimBackend::addAltimeter(const SimConfig& config) {
    std::lock_guard lock(m_mutex);
    auto device = std::make_shared<SimAltimeter>(
        "/dev/hidraw-sim" + std::to_string(m_altimeters.size()), config, m_notifier);
    m_altimeters.push_back(device);
    m_entries.emplace_back(device);
    if (config.attached) {
        m_notifier->signal();
    }
    return *device;
}

void SimBackend::addForeignDevice(const HidDeviceInfo& info) {
    std::lock_guard lock(m_mutex);
    m_entries.emplace_back(info);
    m_notifier->signal();
}

std::vector<HidDeviceInfo> SimBackend::enumerate() {
    std::lock_guard lock(m_mutex);
    std::vector<HidDeviceInfo> list;
    for (const Entry& entry : m_entries) {
        if (const auto* device = std::get_if<std::shared_ptr<SimAltimeter>>(&entry)) {
            if ((*device)->isAttached()) {
                list.push_back((*device)->info());
            }
        } else {
            list.push_back(std::get<HidDeviceInfo>(entry));
        }
    }
    return list;
}

std::unique_ptr<HidHandle> SimBackend::open(const std::string& path) {
    std::lock_guard lock(m_mutex);
    for (const auto& device : m_altimeters) {
        if (device->path() == path) {
            if (const auto generation = device->openGeneration()) {
                return std::make_unique<SimHandle>(device, *generation);
            }
            return nullptr;
        }
    }
    return nullptr;
}

std::unique_ptr<ChangeNotifier> SimBackend::createNotifier() {
    return m_notifier->createNotifier();
}

}  // namespace tevusb::device::sim
