// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "simulation/import_error.h"
#include "simulation/simulation.h"

namespace tevusb::simulation {

// The simulations of a file of any kind we read, told apart by its content, not its
// name: a design file (zip, gzip or plain XML), RASAero II's CSV, the simulator's CSV
// export. In file order; at least one, or the reason there is none.
ImportResult<std::vector<Simulation>> loadSimulationFile(const std::filesystem::path& path);

// The same from bytes already read: `fileName` names the file in messages, `stem` names
// a simulation whose file leaves its name out.
ImportResult<std::vector<Simulation>> readSimulations(std::string_view bytes,
                                                      const std::string& fileName,
                                                      const std::string& stem);

}  // namespace tevusb::simulation
