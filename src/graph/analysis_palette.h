// SPDX-License-Identifier: MIT
#pragma once

#include <QRgb>

// The analysis view's colours (ARGB). The curves and lines keep the colours the set view
// gives them, so a flyer recognises them in either view; the rest is light and quiet,
// printable on white.
namespace tevusb::graph::analysis_palette {

inline constexpr QRgb kBackground = 0xFFFFFFFF;
inline constexpr QRgb kGrid = 0xFFE2E2E2;
inline constexpr QRgb kFrame = 0xFF606060;
inline constexpr QRgb kText = 0xFF202020;
inline constexpr QRgb kAltitude = 0xFFFF0000;
inline constexpr QRgb kVelocity = 0xFF008000;
inline constexpr QRgb kZeroVelocity = 0xFF9CCC9C;
inline constexpr QRgb kLineA = 0xFFFF0000;
inline constexpr QRgb kLineB = 0xFF0000FF;
inline constexpr QRgb kPhase = 0xFF404040;
inline constexpr QRgb kBurnout = 0xFFD07000;
inline constexpr QRgb kApogee = 0xFF8000A0;
inline constexpr QRgb kReadout = 0xFF000000;
inline constexpr QRgb kReadoutBox = 0xF0FFFFF0;
inline constexpr QRgb kLabelBox = 0xE0FFFFFF;

inline constexpr int kCurveWidth = 2;
// The analysis view's text size in points; it scales with the paint device's resolution.
inline constexpr int kFontPoints = 9;

}  // namespace tevusb::graph::analysis_palette
