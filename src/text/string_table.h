// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace tevusb::text {

// The caption of every message box.
inline constexpr std::string_view kCaption = "TEV USB 1.50";

// The program's string table: message-box texts by id. Empty for an unknown id.
std::string_view stringText(int id);

}  // namespace tevusb::text
