// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstdint>

#include "device/connect_operations.h"

namespace tevusb::device {
class AltimeterDevice;
}

namespace tevusb::ui {

class CBaseWindow;

// The device dialogs' check when they open and when a device arrives: connects to an
// altimeter running its application firmware and says in the dialog's status box what
// was found (no device, one in bootloader mode, an incompatible firmware, or connected).
// Runs on the window thread; leaves the link open only when connected. Returns what the
// connect found, for dialogs that say more after the lines.
device::Operation<device::ConnectInfo> connectCheckApplication(CBaseWindow& dialog,
                                                               device::AltimeterDevice& device);

// The firmware dialog's counterpart: connects to an altimeter in its bootloader.
device::Operation<device::ConnectInfo> connectCheckBootloader(CBaseWindow& dialog,
                                                              device::AltimeterDevice& device);

// A version as the status lines show it: 0x0150 as "1.50".
QString versionString(std::uint16_t version);

}  // namespace tevusb::ui
