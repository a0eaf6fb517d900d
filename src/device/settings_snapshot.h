// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include "device/altimeter_device.h"
#include "settings/device_settings.h"

namespace tevusb::device {

// The settings the altimeter holds now, parsed; nothing when they cannot be read or fail
// their checksum. The program's record is left exactly as it was: it is the settings of
// the flights held, and it travels into the next data-set file saved.
std::optional<settings::DeviceSettings> readSettingsSnapshot(AltimeterDevice& device);

}  // namespace tevusb::device
