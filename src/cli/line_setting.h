// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tevusb::cli {

enum class Line { A, B };

// One ejection line as given on the command line: "MODE[:VALUE]" with MODE one of
// disabled, time, apogee, altitude; VALUE in seconds for time (tenths allowed) and in
// metres for altitude. Modes without a value keep the stored value.
struct LineSetting {
    std::uint8_t mode = 0;
    std::optional<std::uint16_t> value;  // in the record's units
};
// Empty when `text` is no setting the altimeter can hold; `problem` (when given) then
// receives the sentence that says why: an unknown mode is left empty for the caller's
// usage line, a bad value names the line's field, the value and the range allowed.
std::optional<LineSetting> parseLineSetting(const std::string& text, Line line = Line::A,
                                            std::string* problem = nullptr);

// Seconds (tenths allowed) as tenths of a second, 0 to 6553.5 s; `problem` as above, for
// the inhibit time.
std::optional<std::uint16_t> parseTenths(const std::string& text, std::string* problem = nullptr);

}  // namespace tevusb::cli
