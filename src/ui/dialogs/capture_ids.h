// SPDX-License-Identifier: MIT
#pragma once

namespace tevusb::ui::capture_ids {

// Control ids of the Download Data dialog.
inline constexpr int kSaveSelected = 1002;
inline constexpr int kStatus = 1003;
inline constexpr int kSelectClose = 1004;
inline constexpr int kStatusGroup = 1005;
inline constexpr int kReadData = 1006;
inline constexpr int kSaveAll = 1007;
inline constexpr int kSaveComment = 1008;
inline constexpr int kDeviceGroup = 1009;
inline constexpr int kClearDevice = 1011;
inline constexpr int kGenerateCsv = 1030;
inline constexpr int kMap = 1031;
inline constexpr int kLiveUpdate = 1032;
inline constexpr int kIcon = 1033;
inline constexpr int kComment = 1046;

}  // namespace tevusb::ui::capture_ids
