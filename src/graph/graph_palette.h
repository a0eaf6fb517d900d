// SPDX-License-Identifier: MIT
#pragma once

#include <QRgb>
#include <cstdint>

namespace tevusb::graph::palette {

// Background fills as raw 0x00RRGGBB pixels.
inline constexpr std::uint32_t kSetBackground = 0x00B4B4FF;
inline constexpr std::uint32_t kLiveBackground = 0x00808080;

// Pen and brush colours as ARGB.
inline constexpr QRgb kBlue = 0xFF0000FF;
inline constexpr QRgb kRed = 0xFFFF0000;
inline constexpr QRgb kGreen = 0xFF008000;

// Pen widths in pixels.
inline constexpr int kSetGroundWidth = 1;
inline constexpr int kCurveWidth = 2;
inline constexpr int kBarWidth = 15;
inline constexpr int kLiveWidth = 3;

// Line bars sit on the ground line, this far right of their samples.
inline constexpr int kBarShift = 8;
// Labels start this far above the point they mark.
inline constexpr int kLabelLift = 30;

}  // namespace tevusb::graph::palette
