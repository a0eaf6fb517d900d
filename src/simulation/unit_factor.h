// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string_view>

#include "simulation/column_kind.h"

namespace tevusb::simulation {

// How many SI units one `unit` of a `kind` column is ("ft" for Altitude → 0.3048);
// nothing for a unit that column cannot carry. An empty unit (a unitless column, or the
// zero-width space the simulator writes for one) is 1 for the unitless kinds only.
std::optional<double> unitFactor(ColumnKind kind, std::string_view unit);

}  // namespace tevusb::simulation
