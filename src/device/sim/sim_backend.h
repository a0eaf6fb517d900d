// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <variant>
#include <vector>

#include "device/hid_backend.h"
#include "device/sim/notifier_hub.h"
#include "device/sim/sim_altimeter.h"
#include "device/sim/sim_config.h"

namespace tevusb::device::sim {

// A HID bus holding simulated altimeters (and, for tests, other HID devices that are
// listed but cannot be opened). The first altimeter is created with the backend, at
// "/dev/hidraw-sim0"; further ones get the next numbers.
class SimBackend : public HidBackend {
  public:
    explicit SimBackend(const SimConfig& config = {});

    SimAltimeter& altimeter(std::size_t index = 0);
    std::size_t altimeterCount() const;
    SimAltimeter& addAltimeter(const SimConfig& config);
    // Another HID interface on the bus; it is listed in turn but never opens.
    void addForeignDevice(const HidDeviceInfo& info);

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;
    std::unique_ptr<ChangeNotifier> createNotifier() override;

  private:
    using Entry = std::variant<std::shared_ptr<SimAltimeter>, HidDeviceInfo>;

    const std::shared_ptr<NotifierHub> m_notifier;
    mutable std::mutex m_mutex;
    std::vector<Entry> m_entries;
    std::vector<std::shared_ptr<SimAltimeter>> m_altimeters;
};

}  // namespace tevusb::device::sim
