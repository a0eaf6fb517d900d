// SPDX-License-Identifier: MIT
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

// An opened HID interface. HidLink calls it from one thread only (its transfer thread),
// so an implementation needs no locking of its own for read and write.
class HidHandle {
  public:
    virtual ~HidHandle() = default;
    // Sends one output report; data[0] is the report id (0 for unnumbered reports).
    // Returns the bytes written, or -1 on error or when the time limit passed. HidLink
    // enforces the caller's limit itself, so a write that overruns it is safe, only slow.
    virtual int write(const std::uint8_t* data, std::size_t length, int timeoutMs) = 0;
    // Receives one input report. Unnumbered reports arrive without a report id byte,
    // as hidraw delivers them. Returns the bytes read, 0 when the time limit passed,
    // -1 on error (e.g. the device is gone). A limit of 0 only takes what is queued.
    virtual int read(std::uint8_t* data, std::size_t length, int timeoutMs) = 0;
};

// Tells that HID interfaces may have come or gone. Each watcher owns its own notifier, so
// one watcher consuming a notification never hides it from another.
class ChangeNotifier {
  public:
    virtual ~ChangeNotifier() = default;
    // A descriptor that becomes readable when something may have changed.
    virtual int fd() const = 0;
    // Consumes what made fd() readable; never blocks.
    virtual void drain() = 0;
};

// Where HID interfaces come from: hidapi on a real system, the simulated altimeter in
// tests and with --simulator. enumerate, open and createNotifier may be called from any
// thread (the window thread's watcher and a worker's connect run side by side).
class HidBackend {
  public:
    virtual ~HidBackend() = default;
    // Every HID interface present, in enumeration order. Interfaces whose identity
    // cannot be read are left out rather than ending the list.
    virtual std::vector<HidDeviceInfo> enumerate() = 0;
    // Opens a path for reading and writing; null when it cannot be opened.
    virtual std::unique_ptr<HidHandle> open(const std::string& path) = 0;
    // A fresh notifier for one watcher, or null when the backend offers none (the
    // watcher then relies on periodic polling).
    virtual std::unique_ptr<ChangeNotifier> createNotifier() { return nullptr; }
};

}  // namespace tevusb::device
