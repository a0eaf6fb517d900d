// SPDX-License-Identifier: MIT
#pragma once

#include "settings/device_settings.h"

namespace tevusb::device::sim {

// The settings image a new altimeter leaves the factory with: Line A at apogee, Line B
// at 150 m on the way down, 2 s inhibit, no calibration offset. Built by hand rather
// than through DeviceSettings, whose build() writes to the program's diagnostic log:
// the device's own memory is none of the program's business until it is read.
settings::SettingsImage factorySettingsImage();

}  // namespace tevusb::device::sim
