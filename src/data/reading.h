// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace tevusb::data {

// One 16-bit word of flight memory: bits 0-13 the pressure sensor's ADC count, bit 14
// the Line B flag, bit 15 the Line A flag. 0xFFFF marks an empty (erased) slot.
namespace reading {

inline constexpr std::uint16_t kEmptySlot = 0xFFFF;
inline constexpr std::uint16_t kCountMask = 0x3FFF;
inline constexpr std::uint8_t kLineAFlag = 2;
inline constexpr std::uint8_t kLineBFlag = 1;
inline constexpr double kSamplesPerSecond = 10.0;

constexpr int count(std::uint16_t word) {
    return word & kCountMask;
}
constexpr std::uint8_t lineFlags(std::uint16_t word) {
    return static_cast<std::uint8_t>(word >> 14);
}
constexpr double timeOfSample(std::size_t i) {
    return static_cast<double>(i) / kSamplesPerSecond;
}

}  // namespace reading

// Truncates toward zero like a cast, but maps NaN to 0 and clamps to the int range, so a
// corrupt value can never make the conversion undefined.
int truncateToInt(double value);

}  // namespace tevusb::data
