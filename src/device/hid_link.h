#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace tevusb::device {

// The transport to the altimeter: finds it among the HID interfaces, opens it, and moves
// whole reports with a time limit on every transfer. Report buffers always carry the
// leading report id byte 0 (4 bytes for messages, 65 for bootloader reports), whatever
// the backend delivers. One worker drives transfers; the window thread may close().
class HidLink {
  public:
    explicit HidLink(std::shared_ptr<HidBackend> backend);
    ~HidLink();

    // Swaps the backend (the simulator or hidapi); closes the link first.
    void setBackend(std::shared_ptr<HidBackend> backend);
    HidBackend& backend() const;

    // Interfaces that pass the filter, in enumeration order: vendorId/productId 0 match
    // anything; (version & mask) must equal `version`.
    std::vector<HidDeviceInfo> findDevices(std::uint16_t vendorId, std::uint16_t productId,
                                           std::uint16_t version, std::uint16_t mask);

    void setDevice(const HidDeviceInfo& info);
    HidDeviceInfo device() const;

    bool open();
    bool isOpen() const;
    // Always allowed, from any thread; a transfer in flight then fails.
    void close();

    bool read(std::uint8_t* buffer, std::size_t length, int timeoutMs);
    bool write(const std::uint8_t* buffer, std::size_t length, int timeoutMs);

    // Whether a removal names the opened device (case-insensitive path match).
    bool isSameDevice(const std::string& removedPath) const;

  private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace tevusb::device
