// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "settings/device_settings.h"

namespace tevusb::analysis {

// Settings that fit the altimeter but that a flyer rarely means, each as one sentence:
// a line in Altitude mode at 0 m or below 30 m, both lines set the same, a main (Altitude
// mode) line above the highest apogee this rocket has reached (when that is known). The
// fronts ask or warn; none of these stops a write by itself.
std::vector<std::string> settingWarnings(const settings::DeviceSettings& settings,
                                         std::optional<double> highestApogeeM = std::nullopt);

// The lowest altitude above the launch site at which a deployment line is likely meant.
inline constexpr int kLowestSensibleLineAltitude = 30;

}  // namespace tevusb::analysis
