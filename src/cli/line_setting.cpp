// SPDX-License-Identifier: MIT
#include "cli/line_setting.h"

#include <charconv>
#include <cmath>

#include "settings/device_settings.h"

namespace tevusb::cli {

namespace {

std::optional<double> parseNumber(const std::string& text) {
    double v = 0;
    const char* end = text.data() + text.size();
    auto res = std::from_chars(text.data(), end, v);
    if (text.empty() || res.ec != std::errc() || res.ptr != end || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

}  // namespace

std::optional<std::uint16_t> parseTenths(const std::string& text) {
    const auto seconds = parseNumber(text);
    if (!seconds || *seconds < 0 || *seconds > 6553.5) {
        return std::nullopt;
    }
    const double tenths = *seconds * 10.0;
    if (std::fabs(tenths - std::round(tenths)) > 1e-6) {
        return std::nullopt;  // the altimeter counts in tenths of a second
    }
    return static_cast<std::uint16_t>(std::lround(tenths));
}

std::optional<LineSetting> parseLineSetting(const std::string& text) {
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
    if (!value) {
        return std::nullopt;
    }
    if (mode == "time") {
        out.mode = static_cast<std::uint8_t>(LineMode::Time);
        out.value = parseTenths(*value);
    } else if (mode == "altitude") {
        out.mode = static_cast<std::uint8_t>(LineMode::Altitude);
        const auto metres = parseNumber(*value);
        if (metres && *metres >= 0 && *metres <= 65535 && *metres == std::floor(*metres)) {
            out.value = static_cast<std::uint16_t>(*metres);
        }
    } else {
        return std::nullopt;
    }
    if (!out.value) {
        return std::nullopt;
    }
    return out;
}

}  // namespace tevusb::cli
