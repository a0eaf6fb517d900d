// SPDX-License-Identifier: MIT
#pragma once

namespace tevusb::text::string_ids {

// Ids of the program's string table (see stringText).
inline constexpr int kDataSetsSaved = 103;
inline constexpr int kSaveFailed = 104;
inline constexpr int kCsvSaveFailed = 106;
inline constexpr int kAreYouSure = 107;
inline constexpr int kLoadFailed = 109;
inline constexpr int kNoGroundAltitude = 110;
inline constexpr int kInhibitLarge = 111;
inline constexpr int kLineDisabled = 112;
inline constexpr int kConnectBattery = 113;
inline constexpr int kUpdateRunning = 114;

}  // namespace tevusb::text::string_ids
