// SPDX-License-Identifier: MIT
#include "simulation/column_kind.h"

#include <array>
#include <string>

namespace tevusb::simulation {

namespace {

struct Spelling {
    std::string_view name;
    ColumnKind kind;
};

// English, German, French (the simulator's translations), and RASAero II's names.
constexpr std::array kSpellings = {
    Spelling{"time", ColumnKind::Time},
    Spelling{"zeit", ColumnKind::Time},
    Spelling{"temps", ColumnKind::Time},
    Spelling{"altitude", ColumnKind::Altitude},
    Spelling{"höhe", ColumnKind::Altitude},
    Spelling{"vertical velocity", ColumnKind::VerticalVelocity},
    Spelling{"vertikalgeschwindigkeit", ColumnKind::VerticalVelocity},
    Spelling{"vitesse verticale", ColumnKind::VerticalVelocity},
    Spelling{"vel-v", ColumnKind::VerticalVelocity},
    Spelling{"vertical acceleration", ColumnKind::VerticalAcceleration},
    Spelling{"vertikalbeschleunigung", ColumnKind::VerticalAcceleration},
    Spelling{"accélération verticale", ColumnKind::VerticalAcceleration},
    Spelling{"accel-v", ColumnKind::VerticalAcceleration},
    Spelling{"total velocity", ColumnKind::TotalVelocity},
    Spelling{"gesamtgeschwindigkeit", ColumnKind::TotalVelocity},
    Spelling{"vitesse totale", ColumnKind::TotalVelocity},
    Spelling{"velocity", ColumnKind::TotalVelocity},
    Spelling{"mass", ColumnKind::Mass},
    Spelling{"masse", ColumnKind::Mass},
    Spelling{"weight", ColumnKind::Mass},
    Spelling{"drag coefficient", ColumnKind::DragCoefficient},
    Spelling{"luftwiderstandskoeffizient", ColumnKind::DragCoefficient},
    Spelling{"widerstandsbeiwert", ColumnKind::DragCoefficient},
    Spelling{"coefficient de traînée", ColumnKind::DragCoefficient},
    Spelling{"cd", ColumnKind::DragCoefficient},
    Spelling{"reference area", ColumnKind::ReferenceArea},
    Spelling{"referenzfläche", ColumnKind::ReferenceArea},
    Spelling{"surface de référence", ColumnKind::ReferenceArea},
    Spelling{"reference length", ColumnKind::ReferenceLength},
    Spelling{"referenzlänge", ColumnKind::ReferenceLength},
    Spelling{"longueur de référence", ColumnKind::ReferenceLength},
    Spelling{"mach number", ColumnKind::MachNumber},
    Spelling{"machzahl", ColumnKind::MachNumber},
    Spelling{"nombre de mach", ColumnKind::MachNumber},
    Spelling{"air density", ColumnKind::AirDensity},
    Spelling{"luftdichte", ColumnKind::AirDensity},
    Spelling{"densité de l'air", ColumnKind::AirDensity},
};

constexpr std::array<std::string_view, 6> kTimeNames = {"Time", "Zeit", "Temps",
                                                        "time", "zeit", "temps"};

// Lower case for ASCII and for the few accented capitals the translations use (UTF-8).
std::string lowered(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c - 'A' + 'a');
        } else if (c == 0xC3 && i + 1 < text.size()) {
            auto next = static_cast<unsigned char>(text[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) {
                next = static_cast<unsigned char>(next + 0x20);  // À..Þ → à..þ
            }
            out += static_cast<char>(c);
            out += static_cast<char>(next);
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::optional<ColumnKind> recogniseColumn(std::string_view name) {
    const std::string key = lowered(trimmed(name));
    for (const auto& s : kSpellings) {
        if (key == s.name) {
            return s.kind;
        }
    }
    return std::nullopt;
}

const std::string_view* timeNames(std::size_t& count) {
    count = kTimeNames.size();
    return kTimeNames.data();
}

}  // namespace tevusb::simulation
