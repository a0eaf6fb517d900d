// SPDX-License-Identifier: MIT
#include "cli/sim_command.h"

#include "cli/cli_path.h"
#include "cli/exit_code.h"
#include "cli/simulation_text.h"
#include "simulation/simulation_facts.h"
#include "simulation/simulation_file.h"
#include "simulation/simulation_json.h"

namespace tevusb::cli {

namespace {

const char* kSimUsage = "Usage: tevusb-cli sim FILE [--units metric|imperial] [--json]\n";

}  // namespace

int runSim(CliArgs& args, std::ostream& out, std::ostream& err) {
    const bool json = args.takeFlag("--json");
    const auto unitsText = args.takeOption("--units");
    analysis::UnitSystem units = analysis::UnitSystem::Metric;
    if (args.missingValue()) {
        err << "--units takes metric or imperial.\n";
        return exit_code::kUsage;
    }
    if (unitsText && !analysis::parseUnitSystem(*unitsText, units)) {
        err << "--units takes metric or imperial, not \"" << *unitsText << "\".\n";
        return exit_code::kUsage;
    }
    const auto path = args.takePositional();
    if (!path) {
        err << kSimUsage;
        return exit_code::kUsage;
    }
    if (!args.checkDone(err)) {
        return exit_code::kUsage;
    }
    auto loaded = simulation::loadSimulationFile(toPath(*path));
    if (auto* error = std::get_if<simulation::ImportError>(&loaded)) {
        err << simulation::oneLine(error->message) << "\n";
        return exit_code::kFailed;
    }
    const auto& sims = std::get<std::vector<simulation::Simulation>>(loaded);
    if (json) {
        nlohmann::ordered_json doc = nlohmann::ordered_json::array();
        for (const auto& sim : sims) {
            doc.push_back(simulation::simulationJson(sim, simulation::simulationFacts(sim)));
        }
        out << doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
        return exit_code::kOk;
    }
    out << simulationListText(sims, units);
    return exit_code::kOk;
}

}  // namespace tevusb::cli
