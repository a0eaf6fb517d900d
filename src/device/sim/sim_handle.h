// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>

#include "device/hid_backend.h"

namespace tevusb::device::sim {

class SimAltimeter;

// An open simulated interface. Like a hidraw descriptor it dies with the device: after
// a detach (or a switch of mode) every transfer on it fails with -1, also one that is
// waiting at that moment.
class SimHandle : public HidHandle {
  public:
    SimHandle(std::shared_ptr<SimAltimeter> device, std::uint64_t generation);

    int write(const std::uint8_t* data, std::size_t length, int timeoutMs) override;
    int read(std::uint8_t* data, std::size_t length, int timeoutMs) override;

  private:
    std::shared_ptr<SimAltimeter> m_device;
    std::uint64_t m_generation;
};

}  // namespace tevusb::device::sim
