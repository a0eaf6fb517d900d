// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "device/hid_backend.h"
#include "device/sim/sim_backend.h"

namespace tevusb::device::sim::test {

struct Msg {
    std::uint16_t value = 0;
    std::uint8_t code = 0;
    bool operator==(const Msg&) const = default;
};

// Raw reports over a HidHandle, the way a host program would move them: no protocol code.
class RawLink {
  public:
    explicit RawLink(std::unique_ptr<HidHandle> handle) : m_handle(std::move(handle)) {}

    bool send(std::uint16_t value, std::uint8_t code);
    // One 3-byte input report, or nothing within the limit / on error.
    std::optional<Msg> receive(int timeoutMs = 0);
    // Every report already waiting (limit 0 each).
    std::vector<Msg> drain();

    bool sendBoot(const std::vector<std::uint8_t>& payload);  // up to 64 bytes, zero-padded
    std::optional<std::vector<std::uint8_t>> receiveBoot(int timeoutMs = 0);

    HidHandle& handle() { return *m_handle; }

  private:
    std::unique_ptr<HidHandle> m_handle;
};

// A backend with no delays and `flights` preloaded flights, and a link to its altimeter.
struct Bench {
    explicit Bench(int flights = 3, SimConfig config = {});
    std::shared_ptr<SimBackend> backend;
    SimAltimeter& device;
    RawLink link;
};

SimConfig instantConfig(int flights = 3);
std::unique_ptr<HidHandle> openFirst(SimBackend& backend);

}  // namespace tevusb::device::sim::test
