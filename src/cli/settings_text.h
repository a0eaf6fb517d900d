// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "settings/device_settings.h"

namespace tevusb::cli {

// Several lines describing the settings in words, each ended by "\n".
std::string settingsText(const settings::DeviceSettings& s);

}  // namespace tevusb::cli
