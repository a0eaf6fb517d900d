// SPDX-License-Identifier: MIT
#include "device/sim/sim_handle.h"

#include "device/sim/sim_altimeter.h"

namespace tevusb::device::sim {

SimHandle::SimHandle(std::shared_ptr<SimAltimeter> device, std::uint64_t generation)
    : m_device(std::move(device)), m_generation(generation) {}

int SimHandle::write(const std::uint8_t* data, std::size_t length, int timeoutMs) {
    return m_device->transferWrite(m_generation, data, length, timeoutMs);
}

int SimHandle::read(std::uint8_t* data, std::size_t length, int timeoutMs) {
    return m_device->transferRead(m_generation, data, length, timeoutMs);
}

}  // namespace tevusb::device::sim
