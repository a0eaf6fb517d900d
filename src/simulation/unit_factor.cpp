// SPDX-License-Identifier: MIT
#include "simulation/unit_factor.h"

#include <array>

namespace tevusb::simulation {

namespace {

struct Unit {
    std::string_view symbol;
    double factor;
};

constexpr double kFoot = 0.3048;
constexpr double kPound = 0.45359237;

constexpr std::array kLength = {
    Unit{"m", 1.0},     Unit{"km", 1000.0},   Unit{"ft", kFoot},
    Unit{"yd", 0.9144}, Unit{"mi", 1609.344}, Unit{"cm", 0.01},
    Unit{"mm", 0.001},  Unit{"in", 0.0254},   Unit{"nmi", 1852.0},
};
constexpr std::array kVelocity = {
    Unit{"m/s", 1.0},
    Unit{"km/h", 1.0 / 3.6},
    Unit{"ft/s", kFoot},
    Unit{"ft/sec", kFoot},
    Unit{"mph", 0.44704},
    Unit{"mi/h", 0.44704},
    Unit{"kt", 1852.0 / 3600.0},
    Unit{"kn", 1852.0 / 3600.0},
};
constexpr std::array kAcceleration = {
    Unit{"m/s\u00b2", 1.0},      Unit{"m/s^2", 1.0},    Unit{"m/s2", 1.0},
    Unit{"ft/s\u00b2", kFoot},   Unit{"ft/s^2", kFoot}, Unit{"ft/sec^2", kFoot},
    Unit{"ft/sec\u00b2", kFoot}, Unit{"G", 9.80665},    Unit{"g", 9.80665},
};
constexpr std::array kMass = {
    Unit{"g", 0.001},   Unit{"kg", 1.0},     Unit{"oz", kPound / 16.0},
    Unit{"lb", kPound}, Unit{"lbs", kPound},
};
constexpr std::array kArea = {
    Unit{"mm\u00b2", 1e-6},       Unit{"cm\u00b2", 1e-4},
    Unit{"m\u00b2", 1.0},         Unit{"in\u00b2", 0.00064516},
    Unit{"ft\u00b2", 0.09290304}, Unit{"mm^2", 1e-6},
    Unit{"cm^2", 1e-4},           Unit{"m^2", 1.0},
    Unit{"in^2", 0.00064516},     Unit{"ft^2", 0.09290304},
};
constexpr std::array kTime = {
    Unit{"s", 1.0},
    Unit{"sec", 1.0},
    Unit{"ms", 0.001},
    Unit{"min", 60.0},
};
constexpr std::array kDensity = {
    Unit{"kg/m\u00b3", 1.0},
    Unit{"kg/m^3", 1.0},
    Unit{"g/cm\u00b3", 1000.0},
    Unit{"lb/ft\u00b3", kPound / 0.028316846592},
    Unit{"oz/in\u00b3", kPound / 16.0 / 0.000016387064},
};

template <std::size_t N>
std::optional<double> lookUp(const std::array<Unit, N>& table, std::string_view unit) {
    for (const auto& u : table) {
        if (u.symbol == unit) {
            return u.factor;
        }
    }
    return std::nullopt;
}

std::string_view withoutBlanks(std::string_view unit) {
    constexpr std::string_view kZeroWidthSpace = "\u200b";
    while (unit.starts_with(kZeroWidthSpace)) {
        unit.remove_prefix(kZeroWidthSpace.size());
    }
    while (unit.ends_with(kZeroWidthSpace)) {
        unit.remove_suffix(kZeroWidthSpace.size());
    }
    while (!unit.empty() && unit.front() == ' ') {
        unit.remove_prefix(1);
    }
    while (!unit.empty() && unit.back() == ' ') {
        unit.remove_suffix(1);
    }
    return unit;
}

}  // namespace

std::optional<double> unitFactor(ColumnKind kind, std::string_view rawUnit) {
    const std::string_view unit = withoutBlanks(rawUnit);
    switch (kind) {
        case ColumnKind::Time:
            return lookUp(kTime, unit);
        case ColumnKind::Altitude:
        case ColumnKind::ReferenceLength:
            return lookUp(kLength, unit);
        case ColumnKind::VerticalVelocity:
        case ColumnKind::TotalVelocity:
            return lookUp(kVelocity, unit);
        case ColumnKind::VerticalAcceleration:
            return lookUp(kAcceleration, unit);
        case ColumnKind::Mass:
            return lookUp(kMass, unit);
        case ColumnKind::ReferenceArea:
            return lookUp(kArea, unit);
        case ColumnKind::AirDensity:
            return lookUp(kDensity, unit);
        case ColumnKind::DragCoefficient:
        case ColumnKind::MachNumber:
            if (unit.empty()) {
                return 1.0;
            }
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace tevusb::simulation
