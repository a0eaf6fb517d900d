// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "device/firmware_file.h"

namespace tevusb::device::testing {

// Builds firmware files byte by byte from a plain image, scrambling it as the files are.
struct FirmwareBuilder {
    std::uint16_t formatVersion = 0x0100;
    std::uint16_t bootloaderVersion = 0x0110;
    std::uint16_t firmwareVersion = 0x0150;
    std::int32_t length = 0;
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(kFirmwareImageSize, 0xFF);

    // Fills block `index` with a recognisable pattern.
    void fillBlock(int index) {
        for (std::size_t k = 0; k < kFirmwareBlockSize; ++k) {
            image[index * kFirmwareBlockSize + k] = static_cast<std::uint8_t>(index * 7 + k);
        }
    }

    std::vector<std::uint8_t> bytes() const {
        std::vector<std::uint8_t> out{0x30, 0xFF, 0xBE, 0x3D, 0x61, 0xB9, 0x71, 0x4A,
                                      0xB1, 0xE7, 0x91, 0x36, 0x63, 0x93, 0x0E, 0xC2};
        for (std::uint16_t v : {formatVersion, bootloaderVersion, firmwareVersion}) {
            out.push_back(static_cast<std::uint8_t>(v & 0xFF));
            out.push_back(static_cast<std::uint8_t>(v >> 8));
        }
        for (std::size_t i = 0; i < image.size(); ++i) {
            out.push_back(static_cast<std::uint8_t>(image[i] ^ (i % 2 == 0 ? 0x1D : 0x6B)));
        }
        const auto raw = static_cast<std::uint32_t>(length);
        for (int shift = 0; shift < 32; shift += 8) {
            out.push_back(static_cast<std::uint8_t>(raw >> shift));
        }
        return out;
    }
};

}  // namespace tevusb::device::testing
