// SPDX-License-Identifier: MIT
#pragma once

namespace tevusb::ui::update_ids {

// Control ids of the Update Firmware dialog.
inline constexpr int kStatus = 1003;
inline constexpr int kClose = 1004;
inline constexpr int kUpdate = 1005;
inline constexpr int kStatusGroup = 1007;
inline constexpr int kIcon = 1033;
// Beyond the template: the update's progress as a bar, left of the buttons.
inline constexpr int kProgress = 1100;

}  // namespace tevusb::ui::update_ids
