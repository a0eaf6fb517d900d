// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "cli/cli_args.h"
#include "simulation/flight_against_simulation.h"
#include "simulation/simulation.h"

namespace tevusb::cli {

// What `stats` was told of the rocket and its simulation: --sim FILE [--sim-name NAME],
// --mass KG, --diameter M.
struct StatsRocketOptions {
    std::optional<std::string> simPath;
    std::optional<std::string> simName;
    std::optional<double> massKg;
    std::optional<double> diameterM;

    bool any() const { return simPath || simName || massKg || diameterM; }
};

// Takes the options from args; nothing, with a message on err, when one is malformed.
std::optional<StatsRocketOptions> takeRocketOptions(CliArgs& args, std::ostream& err);

// The file's simulations, the one chosen (see simulation::pickSimulation). Nothing, with
// one line on err, when the file gives none or not the one named.
std::optional<simulation::Simulation> chooseSimulation(const StatsRocketOptions& options,
                                                       std::ostream& err);

simulation::RocketOverrides rocketOverrides(const StatsRocketOptions& options);

}  // namespace tevusb::cli
