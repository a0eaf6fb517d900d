// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string_view>

namespace tevusb::simulation {

// The simulator columns we use. The simulator names them in its user's language; these
// are recognised in English, German and French, ignoring case.
enum class ColumnKind {
    Time,
    Altitude,
    VerticalVelocity,
    VerticalAcceleration,
    TotalVelocity,
    Mass,
    DragCoefficient,
    ReferenceArea,
    ReferenceLength,
    MachNumber,
    AirDensity,
};

// The column a name stands for ("Höhe" → Altitude); nothing for a column we do not use.
std::optional<ColumnKind> recogniseColumn(std::string_view name);

// Every spelling recognised for Time, to find a header whose starter is unknown.
const std::string_view* timeNames(std::size_t& count);

}  // namespace tevusb::simulation
