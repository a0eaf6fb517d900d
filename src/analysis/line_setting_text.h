// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "analysis/units.h"

namespace tevusb::analysis {

// An ejection line's setting as every front names it: "Disabled", "Apogee", "Time 2.5 s"
// (the altimeter counts tenths), "Altitude 150 m" (whole metres); in imperial units
// "Altitude 492 ft (150 m)", so the reader also sees what was set. A mode outside the four
// known ones: "Mode 9 (unknown)".
std::string lineSettingText(std::uint8_t mode, std::uint16_t value,
                            UnitSystem units = UnitSystem::Metric);

// Tenths of a second as seconds with one decimal: "2.5 s".
std::string tenthsText(std::uint16_t tenths);

}  // namespace tevusb::analysis
