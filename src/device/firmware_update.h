// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace tevusb::device {

// Results of AltimeterDevice::updateFirmware. Every failure ends the update at once;
// blocks already written stay written.
namespace update_result {
inline constexpr int kSuccess = 0;
inline constexpr int kProtocolError = -3;  // also: the file is cut short
inline constexpr int kTransferFailed = -4;
inline constexpr int kCannotOpenFile = -6;
inline constexpr int kCannotOpenLink = -7;
inline constexpr int kWrongFileVersion = -8;
inline constexpr int kNotFirmwareFile = -9;  // wrong magic, or an image length past the image
inline constexpr int kNotBootloader = -10;
inline constexpr int kWrongBootloader = -11;
inline constexpr int kWrongFirmware = -12;
inline constexpr int kWrongHardware = -13;
}  // namespace update_result

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
