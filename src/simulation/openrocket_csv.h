// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "simulation/import_error.h"
#include "simulation/simulation.h"

namespace tevusb::simulation {

// Reads the simulator's CSV export in any of the forms its export dialog writes (comment
// starter, field separator, decimals, units and language as the flyer chose them).
// `fileName` names the file in messages; `fallbackName` names the simulation when the
// file leaves its name out.
ImportResult<Simulation> readOpenRocketCsv(std::string_view text, const std::string& fileName,
                                           const std::string& fallbackName);

}  // namespace tevusb::simulation
