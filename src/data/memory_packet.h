// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

namespace tevusb::data {

// 64 bytes of flight memory: a type byte, one uninterpreted byte, 31 reading words.
struct MemoryPacket {
    static constexpr std::size_t kSize = 64;
    static constexpr int kWordCount = 31;
    static constexpr std::uint8_t kSetStart = 2;
    static constexpr std::uint8_t kErased = 0xFF;

    std::array<std::uint8_t, kSize> bytes{};

    std::uint8_t type() const { return bytes[0]; }
    bool beginsSet() const { return bytes[0] == kSetStart; }
    bool isErased() const { return bytes[0] == kErased; }

    // Reading word j (0..30), little-endian after the two header bytes.
    std::uint16_t reading(int j) const {
        const auto at = static_cast<std::size_t>(2 + 2 * j);
        return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
    }
    // Word j of the packet as the device sends it (0..31, word 0 is the header).
    void setWord(int j, std::uint16_t value) {
        const auto at = static_cast<std::size_t>(2 * j);
        bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
    }
};

}  // namespace tevusb::data
