// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

namespace tevusb::device {

// The 4-byte report that carries every command and reply of the application firmware:
// report id 0, a little-endian 16-bit value, an 8-bit code.
inline constexpr std::size_t kMessageSize = 4;

// Every command and reply waits at most this long; launch emulation waits longer for
// the device's replies because the device paces the flight in real time.
inline constexpr int kMessageTimeoutMs = 3000;
inline constexpr int kEmulationReplyTimeoutMs = 20000;

enum class CommandCode : std::uint8_t {
    Data = 0,
    Reset = 1,
    ReadPacket = 2,
    ReadAdc = 3,
    EmulateLaunch = 4,
    ClearMemory = 6,
    ReadBattery = 7,
    ReadSettings = 8,
    WriteSettings = 9,
    FireLines = 10,
    AdcSample = 20,
};

enum class ReplyCode : std::uint8_t {
    Value = 0,
    Complete = 5,
    DataWord = 11,
    AdcRequest = 13,
    LaunchDetected = 14,
    LineAFired = 15,
    LineBFired = 16,
    ApogeeDetected = 17,
    EndOfLaunch = 19,
};

constexpr std::uint8_t code(CommandCode c) {
    return static_cast<std::uint8_t>(c);
}
constexpr std::uint8_t code(ReplyCode c) {
    return static_cast<std::uint8_t>(c);
}

// How the altimeter enumerates in each of its two guises. Versions are compared on their
// upper 12 bits: the low nibble marks compatible revisions.
struct DeviceIdentity {
    std::uint16_t vendorId;
    std::uint16_t productId;
    std::uint16_t version;
    std::uint16_t mask;
};

inline constexpr std::uint16_t kVersionMask = 0xFFF0;
inline constexpr DeviceIdentity kApplicationIdentity{0x03DB, 2, 0x0150, kVersionMask};
inline constexpr DeviceIdentity kBootloaderIdentity{0x03DB, 1, 0x0110, kVersionMask};

constexpr bool versionMatches(std::uint16_t version, std::uint16_t required) {
    return (version & kVersionMask) == (required & kVersionMask);
}

}  // namespace tevusb::device
