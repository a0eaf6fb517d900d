// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "analysis/units.h"
#include "simulation/simulation_comparison.h"

namespace tevusb::simulation {

// One line of the comparison as a person reads it, in the chosen units; "—" where a
// value does not exist. The difference is flown - simulated, with its percentage.
struct ComparisonRow {
    std::string label;
    std::string simulated;
    std::string flown;
    std::string difference;
};

std::vector<ComparisonRow> comparisonRows(const SimulationComparison& comparison,
                                          analysis::UnitSystem system);

}  // namespace tevusb::simulation
