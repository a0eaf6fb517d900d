// SPDX-License-Identifier: MIT
#pragma once

namespace tevusb::ui::chip_load_ids {

// Control ids of the Device Settings dialog.
inline constexpr int kStatus = 1003;
inline constexpr int kClose = 1004;
inline constexpr int kWrite = 1005;
inline constexpr int kRead = 1006;
inline constexpr int kStatusGroup = 1007;
inline constexpr int kSettingsGroup = 1008;
inline constexpr int kTimeA = 1009;
inline constexpr int kTimeB = 1010;
inline constexpr int kAltA = 1011;
inline constexpr int kAltB = 1012;
inline constexpr int kDisabledA = 1013;
inline constexpr int kTimeModeA = 1014;
inline constexpr int kAltModeA = 1015;
inline constexpr int kApogeeA = 1016;
inline constexpr int kDisabledB = 1017;
inline constexpr int kTimeModeB = 1018;
inline constexpr int kAltModeB = 1019;
inline constexpr int kApogeeB = 1020;
inline constexpr int kInhibit = 1023;
inline constexpr int kGeneralGroup = 1024;
inline constexpr int kLineAGroup = 1025;
inline constexpr int kLineBGroup = 1026;
inline constexpr int kInhibitLabel = 1029;
inline constexpr int kCalibrate = 1035;
inline constexpr int kSeparator = 1036;
inline constexpr int kGround = 1039;
inline constexpr int kGroundLabel = 1040;
inline constexpr int kIcon = 1041;

}  // namespace tevusb::ui::chip_load_ids
