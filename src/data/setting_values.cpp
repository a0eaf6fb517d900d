// SPDX-License-Identifier: MIT
#include "data/setting_values.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "data/altitude_converter.h"

namespace tevusb::data {

namespace {

struct Range {
    bool seconds;  // else metres
    double highest;
};

Range rangeOf(SettingValue value) {
    switch (value) {
        case SettingValue::LineATime:
        case SettingValue::LineBTime:
        case SettingValue::InhibitTime:
            return {true, 6553.5};  // tenths of a second in 16 bits
        case SettingValue::LineAAltitude:
        case SettingValue::LineBAltitude:
            return {false, 65535.0};
        case SettingValue::GroundAltitude:
            return {false, static_cast<double>(highestGroundAltitude())};
    }
    return {false, 0.0};
}

std::string numberText(double v) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::string rangeText(SettingValue value, bool wholeSeconds) {
    const Range r = rangeOf(value);
    const double highest = r.seconds && wholeSeconds ? std::floor(r.highest) : r.highest;
    return "0 to " + numberText(highest) + (r.seconds ? " s" : " m");
}

CheckedValue refuse(SettingValue value, const std::string& why, bool wholeSeconds) {
    return {std::nullopt, std::string(settingName(value)) + ": " + why + "; enter " +
                              (rangeOf(value).seconds && !wholeSeconds ? "seconds from "
                                                                       : "a whole number from ") +
                              rangeText(value, wholeSeconds) + "."};
}

CheckedValue check(SettingValue value, std::string_view raw, bool whole) {
    const std::string text = trimmed(raw);
    const Range r = rangeOf(value);
    const char* unit = r.seconds ? " s" : " m";
    if (text.empty()) {
        return refuse(value, "no value", whole);
    }
    double number = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec == std::errc::result_out_of_range) {
        return refuse(value, text + unit + " is out of range", whole);
    }
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(number)) {
        return refuse(value, "\"" + text + "\" is not a number", whole);
    }
    if (number < 0 || number > r.highest) {
        return refuse(value, text + unit + " is out of range", whole);
    }
    const double scaled = r.seconds ? number * 10.0 : number;
    const bool wholeNumber = number == std::floor(number);
    const bool wholeTenths = std::fabs(scaled - std::round(scaled)) <= 1e-6;
    if ((whole || !r.seconds) ? !wholeNumber : !wholeTenths) {
        return refuse(value,
                      text + unit +
                          (r.seconds && !whole ? " is finer than a tenth of a second"
                                               : " is not a whole number"),
                      whole);
    }
    return {static_cast<std::uint16_t>(std::lround(scaled)), {}};
}

}  // namespace

std::string_view settingName(SettingValue value) {
    switch (value) {
        case SettingValue::LineATime:
            return "Line A time";
        case SettingValue::LineBTime:
            return "Line B time";
        case SettingValue::LineAAltitude:
            return "Line A altitude";
        case SettingValue::LineBAltitude:
            return "Line B altitude";
        case SettingValue::InhibitTime:
            return "Inhibit time";
        case SettingValue::GroundAltitude:
            return "Ground altitude";
    }
    return "Setting";
}

CheckedValue checkWholeNumber(SettingValue value, std::string_view text) {
    return check(value, text, true);
}

CheckedValue checkDecimal(SettingValue value, std::string_view text) {
    return check(value, text, false);
}

int highestGroundAltitude() {
    // The sensor's lowest count is the thinnest air it can read.
    return static_cast<int>(std::floor(AltitudeConverter(0).altitude(0.0)));
}

bool offsetFits(std::int64_t adcOffset) {
    return adcOffset >= std::numeric_limits<std::int16_t>::min() &&
           adcOffset <= std::numeric_limits<std::int16_t>::max();
}

}  // namespace tevusb::data
