#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tevusb::device {

// One HID interface as the system lists it.
struct HidDeviceInfo {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t versionNumber = 0;  // the release number: high byte major, low byte minor
};

// An opened HID interface. Used by one thread at a time, except close(), which any
// thread may call to make a transfer in flight fail promptly.
class HidHandle {
  public:
    virtual ~HidHandle() = default;
    // Sends one output report; data[0] is the report id (0 for unnumbered reports).
    // Returns the bytes written, or -1 on error or when the time limit passed.
    virtual int write(const std::uint8_t* data, std::size_t length, int timeoutMs) = 0;
    // Receives one input report. Unnumbered reports arrive without a report id byte,
    // as hidraw delivers them. Returns the bytes read, 0 when the time limit passed,
    // -1 on error.
    virtual int read(std::uint8_t* data, std::size_t length, int timeoutMs) = 0;
};

// Where HID interfaces come from: hidapi on a real system, the simulated altimeter in
// tests and with --simulator.
class HidBackend {
  public:
    virtual ~HidBackend() = default;
    // Every HID interface present, in enumeration order.
    virtual std::vector<HidDeviceInfo> enumerate() = 0;
    // Opens a path for reading and writing; null when it cannot be opened.
    virtual std::unique_ptr<HidHandle> open(const std::string& path) = 0;
    // A descriptor that becomes readable when interfaces may have come or gone, or -1
    // when the backend offers none (the watcher then relies on periodic polling).
    // drainNotifications() consumes what made it readable.
    virtual int notificationFd() { return -1; }
    virtual void drainNotifications() {}
};

}  // namespace tevusb::device
