// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "settings/device_settings.h"

namespace tevusb::cli {

// "Apogee", "Time 1.5 s", "Altitude 150 m", "Disabled" (or "Unknown mode N").
std::string lineText(std::uint8_t mode, std::uint16_t value);
// Several lines describing the settings in words, each ended by "\n".
std::string settingsText(const settings::DeviceSettings& s);

}  // namespace tevusb::cli
