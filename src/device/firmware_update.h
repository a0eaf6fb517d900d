// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "device/device_result.h"

namespace tevusb::device {

// The versions an update got to see, filled as far as it got; 0 where it did not.
struct FirmwareVersions {
    std::uint16_t fileFormat = 0;
    std::uint16_t hardware = 0;
    std::uint16_t bootloader = 0;
    std::uint16_t firmware = 0;
};

// (context, block index, highest block index): once per block from 0 to the highest,
// before the block is handled, whether it is written or skipped.
using FirmwareProgressCallback = void (*)(void* context, int block, int highestBlock);

// What this software accepts, compared under the 0xFFF0 mask.
inline constexpr std::uint16_t kRequiredBootloaderVersion = 0x0110;
inline constexpr std::uint16_t kRequiredFirmwareVersion = 0x0150;
inline constexpr std::uint16_t kRequiredHardwareVersion = 0x0120;

}  // namespace tevusb::device
