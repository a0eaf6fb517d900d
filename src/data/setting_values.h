// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tevusb::data {

// The numbers a flyer types for the altimeter's settings, checked against what their
// fields in the settings image can hold before anything is written. A value that does not
// fit is refused with a message, never wrapped into 16 bits.
enum class SettingValue {
    LineATime,
    LineBTime,
    LineAAltitude,
    LineBAltitude,
    InhibitTime,
    GroundAltitude
};

// "Line B altitude", "Inhibit time", "Ground altitude".
std::string_view settingName(SettingValue value);

struct CheckedValue {
    // In the record's units: tenths of a second, or metres. Empty when refused.
    std::optional<std::uint16_t> stored;
    // Why it was refused: names the field, the value typed and the range allowed.
    std::string problem;
    bool ok() const { return stored.has_value(); }
};

// A whole number as the dialogs take it: whole seconds or metres, no sign, no fraction.
CheckedValue checkWholeNumber(SettingValue value, std::string_view text);
// A number as the command line takes it: seconds with tenths, or whole metres.
CheckedValue checkDecimal(SettingValue value, std::string_view text);

// The highest ground altitude (metres above sea level) the pressure sensor can read.
int highestGroundAltitude();
// The calibration offset fits the settings image's signed 16-bit field.
bool offsetFits(std::int64_t adcOffset);

}  // namespace tevusb::data
