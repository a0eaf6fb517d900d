// SPDX-License-Identifier: MIT
#include "cli/stats_simulation.h"

#include <cmath>
#include <filesystem>

#include "cli/cli_path.h"
#include "simulation/import_error.h"
#include "simulation/number_text.h"
#include "simulation/simulation_file.h"

namespace tevusb::cli {

namespace {

// A positive number for --mass and --diameter; "1,2" or "0" are refused, not guessed at.
bool takePositive(CliArgs& args, const char* name, const char* what, std::optional<double>& out,
                  std::ostream& err) {
    const auto text = args.takeOption(name);
    if (args.missingValue()) {
        err << name << " needs " << what << ".\n";
        return false;
    }
    if (!text) {
        return true;
    }
    const auto value = simulation::parseNumber(*text);
    if (!value || !std::isfinite(*value) || *value <= 0.0) {
        err << name << " takes " << what << " as a positive number, not \"" << *text << "\".\n";
        return false;
    }
    out = *value;
    return true;
}

}  // namespace

std::optional<StatsRocketOptions> takeRocketOptions(CliArgs& args, std::ostream& err) {
    StatsRocketOptions o;
    o.simPath = args.takeOption("--sim");
    if (args.missingValue()) {
        err << "--sim needs a simulation file.\n";
        return std::nullopt;
    }
    o.simName = args.takeOption("--sim-name");
    if (args.missingValue()) {
        err << "--sim-name needs the name of a simulation.\n";
        return std::nullopt;
    }
    if (o.simName && !o.simPath) {
        err << "--sim-name chooses a simulation of --sim FILE; give the file too.\n";
        return std::nullopt;
    }
    if (!takePositive(args, "--mass", "the rocket's coast mass in kg", o.massKg, err) ||
        !takePositive(args, "--diameter", "the rocket's reference diameter in m", o.diameterM,
                      err)) {
        return std::nullopt;
    }
    return o;
}

std::optional<simulation::Simulation> chooseSimulation(const StatsRocketOptions& options,
                                                       std::ostream& err) {
    auto loaded = simulation::loadSimulationFile(toPath(*options.simPath));
    if (auto* error = std::get_if<simulation::ImportError>(&loaded)) {
        err << simulation::oneLine(error->message) << "\n";
        return std::nullopt;
    }
    auto picked =
        simulation::pickSimulation(std::get<std::vector<simulation::Simulation>>(loaded),
                                   options.simName, toText(toPath(*options.simPath).filename()));
    if (auto* error = std::get_if<simulation::ImportError>(&picked)) {
        err << error->message << "\n";
        return std::nullopt;
    }
    return std::get<simulation::Simulation>(std::move(picked));
}

simulation::RocketOverrides rocketOverrides(const StatsRocketOptions& options) {
    return {options.massKg, options.diameterM};
}

}  // namespace tevusb::cli
