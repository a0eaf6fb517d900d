// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <span>

namespace tevusb::device {

// What loadFirmwareFile found. The values are those the update maps to its results.
enum class FirmwareLoadResult {
    Loaded = 0,
    WrongMagic = 1,
    WrongFormatVersion = 2,
    CannotOpen = 3,
    TooShort = 4,
    // The stored image length claims more than the 64 KiB image holds.
    LengthBeyondImage = 5,
};

inline constexpr std::size_t kFirmwareImageSize = 65536;
inline constexpr std::size_t kFirmwareBlockSize = 64;
inline constexpr std::uint16_t kFirmwareFileFormat = 0x0100;
inline constexpr std::uint16_t kFirmwareKey = 0x6B1D;
// Magic, three versions, the image and its length.
inline constexpr std::size_t kFirmwareFileSize = 16 + 2 + 2 + 2 + kFirmwareImageSize + 4;

// The image a firmware file carries, unscrambled. A fresh image is all erased (0xFF).
struct FirmwareImage {
    std::int32_t length = 0;
    std::array<std::uint8_t, kFirmwareImageSize> bytes;

    FirmwareImage() { bytes.fill(0xFF); }
    // Whether the 64 bytes of block `index` are erased; blocks past the image count as
    // erased, so nothing is ever read beyond it.
    bool blockErased(int index) const;
};

struct FirmwareFile {
    std::uint16_t formatVersion = 0;
    std::uint16_t bootloaderVersion = 0;
    std::uint16_t firmwareVersion = 0;
    FirmwareImage image;
};

// Parses a firmware file. The fields are filled in file order as far as they could be
// read, so a wrong format version still yields the version found. Bytes after the length
// are ignored. Never reads more than it needs; any input is safe.
FirmwareLoadResult loadFirmwareFile(std::istream& in, FirmwareFile& file);
FirmwareLoadResult loadFirmwareFile(std::span<const std::uint8_t> bytes, FirmwareFile& file);
// Opens the file for binary reading (CannotOpen when it cannot), then parses it.
FirmwareLoadResult loadFirmwareFile(const std::filesystem::path& path, FirmwareFile& file);

}  // namespace tevusb::device
