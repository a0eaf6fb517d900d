// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace tevusb::device::sim {

// The message codes the application firmware understands and answers with. Kept apart
// from the program's protocol code on purpose: the simulator is the other end of the
// wire and must not share its assumptions.
enum class Command : std::uint8_t {
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

enum class Reply : std::uint8_t {
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

// Bootloader requests (first payload byte) and its answer status.
enum class BootCommand : std::uint8_t { VersionQuery = 1, WriteBlock = 2 };
inline constexpr std::uint8_t kBlockAccepted = 1;
inline constexpr std::uint8_t kBlockRejected = 0;

// Identity on the bus.
inline constexpr std::uint16_t kVendorId = 0x03DB;
inline constexpr std::uint16_t kApplicationProductId = 2;
inline constexpr std::uint16_t kBootloaderProductId = 1;

// Sizes of the input reports as hidraw delivers them (no report id byte) and of the
// output reports as they are written (report id 0 first).
inline constexpr std::size_t kMessagePayload = 3;
inline constexpr std::size_t kMessageReport = 4;
inline constexpr std::size_t kBootPayload = 64;
inline constexpr std::size_t kBootReport = 65;

}  // namespace tevusb::device::sim
