// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace tevusb::device {

// The transport to the altimeter: finds it among the HID interfaces, opens it, and moves
// whole reports with a time limit on every transfer. One worker drives transfers; the
// window thread may call close() and isOpen() at any time.
//
// Report layout: buffers always carry the leading report id byte 0 (4 bytes for messages,
// 65 for bootloader reports), whatever the backend delivers. write() sends the buffer as
// it is; read() receives the report without its id (as hidraw delivers unnumbered
// reports), places it at buffer+1, sets buffer[0] = 0 and zero-fills what a short report
// left out.
//
// Stale input: every write() first throws away the input reports already queued. The
// altimeter only ever speaks in answer to a command, and the program always collects the
// answers of one exchange before it sends again, so anything queued when a write starts
// is left over from an exchange that was abandoned (a time-out, a cancel, a protocol
// error) and must never be taken for the answer to the command about to go out.
//
// Time limits: a transfer returns false no later than shortly after its limit, whatever
// the device or the backend does; a transfer that overran keeps only the link's own
// transfer thread busy, and the next transfer waits for it within its own limit.
class HidLink {
  public:
    explicit HidLink(std::shared_ptr<HidBackend> backend);
    ~HidLink();

    HidLink(const HidLink&) = delete;
    HidLink& operator=(const HidLink&) = delete;

    // Swaps the backend (the simulator or hidapi); closes the link first.
    void setBackend(std::shared_ptr<HidBackend> backend);
    HidBackend& backend() const;

    // Interfaces that pass the filter, in enumeration order, one per path: vendorId and
    // productId 0 match anything; (version number & mask) must equal `version`.
    std::vector<HidDeviceInfo> findDevices(std::uint16_t vendorId, std::uint16_t productId,
                                           std::uint16_t version, std::uint16_t mask);

    void setDevice(const HidDeviceInfo& info);
    HidDeviceInfo device() const;

    // Opens the chosen device; an open link stays as it is. True when open afterwards.
    bool open();
    bool isOpen() const;
    // Always allowed, from any thread, and returns within about 100 ms: a transfer in
    // flight fails at once, and the handle is released when no transfer uses it.
    void close();

    // One input report into buffer[0..length), length >= 2. False on time-out, error or
    // close.
    bool read(std::uint8_t* buffer, std::size_t length, int timeoutMs);
    // One output report from buffer[0..length), buffer[0] the report id. False on
    // time-out, error or close; a write not sent within its limit is never sent later.
    bool write(const std::uint8_t* buffer, std::size_t length, int timeoutMs);

    // Whether a removal names the chosen device (case-insensitive path match). Logs both
    // paths, and "Match Failed." when they differ.
    bool isSameDevice(const std::string& removedPath) const;

  private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace tevusb::device
