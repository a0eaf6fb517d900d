#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace tevusb::device {

// Arrival and removal of HID interfaces, by path. Plain C++: a GUI wraps fd() in its event
// loop (or a CLI polls it) and calls poll() when it becomes readable or a timer fires.
class DeviceWatcher {
  public:
    enum class EventType { Arrival, Removal };
    struct Event {
        EventType type;
        HidDeviceInfo device;
    };

    explicit DeviceWatcher(std::shared_ptr<HidBackend> backend);
    ~DeviceWatcher();

    // A descriptor that becomes readable when something may have changed; -1 if none.
    int fd() const;
    // How often to call poll() anyway, in milliseconds (the periodic fallback).
    int fallbackIntervalMs() const;
    // Compares the present interfaces with the last known ones.
    std::vector<Event> poll();

  private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace tevusb::device
