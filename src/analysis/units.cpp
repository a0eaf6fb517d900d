// SPDX-License-Identifier: MIT
#include "analysis/units.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tevusb::analysis {

namespace {

constexpr double kFoot = 0.3048;    // metres, exactly
constexpr double kMph = 0.44704;    // metres per second, exactly
constexpr double kKmh = 1.0 / 3.6;  // metres per second

// How many SI units one display unit is.
double unitSize(Quantity quantity, UnitSystem system) {
    const bool metric = system == UnitSystem::Metric;
    switch (quantity) {
        case Quantity::Altitude:
        case Quantity::Speed:
        case Quantity::Acceleration:
            return metric ? 1.0 : kFoot;
        case Quantity::FastSpeed:
            return metric ? kKmh : kMph;
        case Quantity::Time:
            return 1.0;
    }
    return 1.0;
}

}  // namespace

double toDisplay(Quantity quantity, double si, UnitSystem system) {
    return si / unitSize(quantity, system);
}

double fromDisplay(Quantity quantity, double shown, UnitSystem system) {
    return shown * unitSize(quantity, system);
}

const char* unitSymbol(Quantity quantity, UnitSystem system) {
    const bool metric = system == UnitSystem::Metric;
    switch (quantity) {
        case Quantity::Altitude:
            return metric ? "m" : "ft";
        case Quantity::Speed:
            return metric ? "m/s" : "ft/s";
        case Quantity::FastSpeed:
            return metric ? "km/h" : "mph";
        case Quantity::Acceleration:
            return metric ? "m/s\u00b2" : "ft/s\u00b2";
        case Quantity::Time:
            return "s";
    }
    return "";
}

std::string formatNumber(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "\u2014";
    }
    decimals = std::clamp(decimals, 0, 9);
    // to_chars never looks at the locale, so a German desktop still gets "1234.5".
    char buffer[400];  // room for the largest double written out in full
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) {
        return "\u2014";
    }
    std::string text(buffer, result.ptr);
    // A small negative value rounded to zero reads as "-0.0"; the sign means nothing.
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

std::string formatQuantity(Quantity quantity, double si, UnitSystem system, int decimals) {
    const std::string number = formatNumber(toDisplay(quantity, si, system), decimals);
    if (!std::isfinite(si)) {
        return number;
    }
    return number + " " + unitSymbol(quantity, system);
}

const char* unitSystemName(UnitSystem system) {
    return system == UnitSystem::Metric ? "metric" : "imperial";
}

bool parseUnitSystem(const std::string& text, UnitSystem& out) {
    if (text == "metric") {
        out = UnitSystem::Metric;
        return true;
    }
    if (text == "imperial") {
        out = UnitSystem::Imperial;
        return true;
    }
    return false;
}

int altitudeDecimals(UnitSystem system) {
    return system == UnitSystem::Metric ? 1 : 0;
}

std::string formatAltitude(double metres, UnitSystem system) {
    return formatQuantity(Quantity::Altitude, metres, system, altitudeDecimals(system));
}

}  // namespace tevusb::analysis
