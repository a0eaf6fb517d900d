// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "device/firmware_update.h"
#include "device/operation.h"

namespace tevusb::device {

// The status texts of the device operations, written once for both fronts.
inline constexpr const char* kAltimeterNotFound =
    "Altimeter not found. Make sure it is properly connected to the PC.\r\n";
// What a connect check says when no altimeter is attached in either mode.
inline constexpr const char* kDeviceNotFound = "Device not found.\r\n";

class AltimeterDevice;

// The check every operation that talks to the altimeter starts with: true when its link
// is open; otherwise `result` becomes NoDevice and the not-found entry is said.
bool altimeterFound(const AltimeterDevice& device, DeviceResult& result, Reporter& say);

// "1.50" for 0x0150, as a narrow string.
std::string versionString(std::uint16_t version);

// "Current Voltage: 8.4 Volts\r\n" for a battery read in tenths of a volt.
std::string batteryEntry(std::uint16_t tenths);

// What an update's result means to the user, line by line.
StatusEntries firmwareResultEntries(DeviceResult result, const FirmwareVersions& versions);

// Texts of the launch-emulation events ("" for a reply that shows nothing).
std::string emulationEventEntry(int replyCode, int samplesSent);

}  // namespace tevusb::device
