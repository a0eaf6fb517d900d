// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tevusb::library {

// A library time stamp ("2026-12-08T07:35:28Z", UTC) as a flyer reads it: local time to
// the minute, "2026-12-08 08:35". Anything not of that exact form is returned unchanged.
// Any thread; fast enough to run for every flight of a large library at each load.
std::string localMinuteText(const std::string& utc);

}  // namespace tevusb::library
