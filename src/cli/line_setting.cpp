// SPDX-License-Identifier: MIT
#include "cli/line_setting.h"

#include "data/setting_values.h"
#include "settings/device_settings.h"

namespace tevusb::cli {

namespace {

using data::SettingValue;

std::optional<std::uint16_t> checked(SettingValue field, const std::string& text,
                                     std::string* problem) {
    const data::CheckedValue value = data::checkDecimal(field, text);
    if (!value.ok() && problem != nullptr) {
        *problem = value.problem;
    }
    return value.stored;
}

}  // namespace

std::optional<std::uint16_t> parseTenths(const std::string& text, std::string* problem) {
    return checked(SettingValue::InhibitTime, text, problem);
}

std::optional<LineSetting> parseLineSetting(const std::string& text, Line line,
                                            std::string* problem) {
    using settings::LineMode;
    const auto colon = text.find(':');
    const std::string mode = text.substr(0, colon);
    const std::optional<std::string> value =
        colon == std::string::npos ? std::nullopt : std::optional(text.substr(colon + 1));
    LineSetting out;
    if (mode == "disabled" || mode == "apogee") {
        if (value) {
            return std::nullopt;
        }
        out.mode =
            static_cast<std::uint8_t>(mode == "disabled" ? LineMode::Disabled : LineMode::Apogee);
        return out;
    }
    const bool a = line == Line::A;
    if (mode == "time") {
        out.mode = static_cast<std::uint8_t>(LineMode::Time);
        out.value = checked(a ? SettingValue::LineATime : SettingValue::LineBTime,
                            value.value_or(""), problem);
    } else if (mode == "altitude") {
        out.mode = static_cast<std::uint8_t>(LineMode::Altitude);
        out.value = checked(a ? SettingValue::LineAAltitude : SettingValue::LineBAltitude,
                            value.value_or(""), problem);
    }
    if (!out.value) {
        return std::nullopt;
    }
    return out;
}

}  // namespace tevusb::cli
