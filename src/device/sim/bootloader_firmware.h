// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "device/sim/altimeter_state.h"

namespace tevusb::device::sim {

// The bootloader: answers the version query with the hardware version and writes
// 64-byte blocks into a 64 KiB flash image. A block write is three reports (the write
// command, the address, the data) and one answer; the flash is never erased by it, so
// what is not written stays 0xFF.
class BootloaderFirmware {
  public:
    static constexpr std::size_t kFlashSize = 65536;
    static constexpr std::size_t kBlockSize = 64;

    explicit BootloaderFirmware(std::uint16_t hardwareVersion);

    // One 64-byte payload (the report without its id byte).
    std::vector<SimReport> handle(const std::uint8_t* payload);
    void restart();

    const std::array<std::uint8_t, kFlashSize>& flash() const { return m_flash; }
    // Addresses of the accepted blocks, in the order they were written.
    const std::vector<std::uint16_t>& writtenBlocks() const { return m_written; }
    void eraseFlash();
    void setHardwareVersion(std::uint16_t version) { m_hardwareVersion = version; }
    std::uint16_t hardwareVersion() const { return m_hardwareVersion; }

  private:
    enum class Phase { Idle, AwaitAddress, AwaitData };

    std::uint16_t m_hardwareVersion;
    Phase m_phase = Phase::Idle;
    std::uint16_t m_address = 0;
    std::array<std::uint8_t, kFlashSize> m_flash;
    std::vector<std::uint16_t> m_written;
};

}  // namespace tevusb::device::sim
