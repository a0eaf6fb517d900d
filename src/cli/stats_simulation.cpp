// SPDX-License-Identifier: MIT
#include "cli/stats_simulation.h"

#include <cmath>
#include <filesystem>
#include <numbers>

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

std::optional<ChosenSimulation> chooseSimulation(const StatsRocketOptions& options,
                                                 std::ostream& err) {
    auto loaded = simulation::loadSimulationFile(*options.simPath);
    if (auto* error = std::get_if<simulation::ImportError>(&loaded)) {
        err << simulation::oneLine(error->message) << "\n";
        return std::nullopt;
    }
    auto& sims = std::get<std::vector<simulation::Simulation>>(loaded);
    const simulation::Simulation* pick = nullptr;
    if (options.simName) {
        for (const auto& sim : sims) {
            if (sim.name == *options.simName) {
                pick = &sim;
                break;
            }
        }
        if (pick == nullptr) {
            std::string names;
            for (const auto& sim : sims) {
                names += (names.empty() ? "\"" : ", \"") + sim.name + "\"";
            }
            err << simulation::oneLine(std::filesystem::path(*options.simPath).filename().string() +
                                       ": no simulation named \"" + *options.simName +
                                       "\" (it holds " + names + ").")
                << "\n";
            return std::nullopt;
        }
    } else {
        for (const auto& sim : sims) {
            if (sim.points() > 0) {
                pick = &sim;
                break;
            }
        }
        pick = pick != nullptr ? pick : &sims.front();
    }
    ChosenSimulation chosen{*pick, simulation::simulationFacts(*pick),
                            std::filesystem::path(*options.simPath).filename().string()};
    return chosen;
}

analysis::CoastDrag coastDragFor(const data::DataSet& set, const analysis::FlightStatistics& stats,
                                 const StatsRocketOptions& options,
                                 const ChosenSimulation* chosen) {
    analysis::CoastDrag drag = analysis::fitCoastDrag(set, stats);
    std::optional<double> mass = options.massKg;
    std::optional<double> area;
    std::optional<double> simCd;
    if (options.diameterM) {
        area = std::numbers::pi * *options.diameterM * *options.diameterM / 4.0;
    }
    if (chosen != nullptr) {
        mass = mass ? mass : chosen->facts.coastMassKg;
        area = area ? area : chosen->facts.referenceAreaM2;
        simCd = chosen->facts.coastCd;
    }
    analysis::setRocket(drag, mass, area, simCd);
    return drag;
}

}  // namespace tevusb::cli
