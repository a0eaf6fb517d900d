// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tevusb::cli {

// One ejection line as given on the command line: "MODE[:VALUE]" with MODE one of
// disabled, time, apogee, altitude; VALUE in seconds for time (tenths allowed) and in
// metres for altitude. Modes without a value keep the stored value.
struct LineSetting {
    std::uint8_t mode = 0;
    std::optional<std::uint16_t> value;  // in the record's units
};
std::optional<LineSetting> parseLineSetting(const std::string& text);

// Seconds (tenths allowed) as tenths of a second, 0 to 6553.5 s.
std::optional<std::uint16_t> parseTenths(const std::string& text);

}  // namespace tevusb::cli
