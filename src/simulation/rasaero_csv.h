// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "simulation/import_error.h"
#include "simulation/simulation.h"

namespace tevusb::simulation {

// True when `text` looks like RASAero II's flight-data export (its first line is a
// comma-separated header starting with "Time (sec)").
bool looksLikeRasAeroCsv(std::string_view text);

// Reads RASAero II's flight-data CSV: imperial units named in each header field
// ("Altitude (ft)", "Vel-V (ft/sec)"), columns we do not use skipped whatever they hold.
ImportResult<Simulation> readRasAeroCsv(std::string_view text, const std::string& fileName,
                                        const std::string& name);

}  // namespace tevusb::simulation
