// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "analysis/statistics_table.h"
#include "analysis/units.h"
#include "cli/statistics_text.h"
#include "simulation/comparison_rows.h"
#include "simulation/simulation.h"

namespace tevusb::cli {

// The simulations of a file, one block each: name, data rows, apogee, peak vertical
// velocity, events, coast mass and reference area, in the chosen units.
std::string simulationListText(const std::vector<simulation::Simulation>& sims,
                               analysis::UnitSystem units);

// The comparison as a table (quantity, simulated, flown, difference) under a heading
// naming the simulation, then the verdict.
std::string comparisonText(const std::string& heading,
                           const std::vector<simulation::ComparisonRow>& rows,
                           const std::string& verdict);

}  // namespace tevusb::cli
