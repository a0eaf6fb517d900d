// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace tevusb::device {

// Arrival and removal of HID interfaces, by path. Plain C++: a GUI wraps fd() in its event
// loop (or a CLI polls it) and calls poll() when it becomes readable and, in any case,
// every fallbackIntervalMs(). The backend's notification (a udev monitor, the
// simulator's signal) is only a trigger; what changed is found by comparing the
// enumeration with the last one, so a missed or spurious trigger does no harm.
class DeviceWatcher {
  public:
    enum class EventType { Arrival, Removal };
    struct Event {
        EventType type;
        HidDeviceInfo device;
    };

    explicit DeviceWatcher(std::shared_ptr<HidBackend> backend);
    ~DeviceWatcher();

    DeviceWatcher(const DeviceWatcher&) = delete;
    DeviceWatcher& operator=(const DeviceWatcher&) = delete;

    // A descriptor that becomes readable when something may have changed; -1 if none.
    int fd() const;
    // How often to call poll() anyway, in milliseconds: rarely when fd() works, often
    // when it does not.
    int fallbackIntervalMs() const;
    // Compares the present interfaces with the last known ones. The first call only takes
    // note of what is there. Removals come before arrivals, each in enumeration order; a
    // path whose identity changed (the altimeter restarting into its bootloader on the
    // same node) is reported as a removal and an arrival.
    std::vector<Event> poll();

  private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace tevusb::device
