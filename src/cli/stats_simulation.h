// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "analysis/coast_drag.h"
#include "analysis/flight_statistics.h"
#include "cli/cli_args.h"
#include "simulation/simulation.h"
#include "simulation/simulation_facts.h"

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

// The simulation chosen from the file: the one named, else the first with data rows,
// else the first. Nothing, with one line on err, when the file gives none.
struct ChosenSimulation {
    simulation::Simulation sim;
    simulation::SimulationFacts facts;
    std::string fileName;
};
std::optional<ChosenSimulation> chooseSimulation(const StatsRocketOptions& options,
                                                 std::ostream& err);

// The coast drag of a flight with the rocket's mass and area: the command line's values
// win over the simulation's.
analysis::CoastDrag coastDragFor(const data::DataSet& set, const analysis::FlightStatistics& stats,
                                 const StatsRocketOptions& options, const ChosenSimulation* chosen);

}  // namespace tevusb::cli
