// SPDX-License-Identifier: MIT
#include "cli/stats_command.h"

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "analysis/coast_drag_json.h"
#include "analysis/statistics_json.h"
#include "analysis/statistics_table.h"
#include "cli/cli_path.h"
#include "cli/exit_code.h"
#include "cli/simulation_text.h"
#include "cli/statistics_text.h"
#include "cli/stats_simulation.h"
#include "data/data_set_store.h"
#include "simulation/comparison_rows.h"
#include "simulation/import_error.h"
#include "simulation/simulation_comparison.h"
#include "simulation/simulation_json.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace tevusb::cli {

namespace {

// One line, as every refusal here is.
const char* kStatsUsage =
    "Usage: tevusb-cli stats FILE.tev [FILE.tev ...] [--set K] [--units metric|imperial] "
    "[--json] [--sim FILE [--sim-name NAME]] [--mass KG] [--diameter M]\n";

// One flight as read: its set (the drag fit works on the samples) and its statistics.
struct LoadedFlight {
    data::DataSet set;
    analysis::FlightStatistics stats;
};

// Loads set k of one file; says what is wrong on err (naming the file when there are
// several) and gives nothing when it cannot.
std::optional<LoadedFlight> loadFlight(const std::string& path, int k, bool nameFile,
                                       std::ostream& err) {
    const std::string prefix = nameFile ? path + ": " : "";
    data::DataSetStore store;
    data::LoadError error;
    if (!store.loadSetFile(toPath(path), error)) {
        err << prefix << text::stringText(text::string_ids::kLoadFailed) << "\n"
            << error.message << "\n";
        return std::nullopt;
    }
    if (k >= store.setCount()) {
        err << prefix << "The file holds " << store.setCount() << " set start(s); there is no set "
            << k << ".\n";
        return std::nullopt;
    }
    store.selectSet(k);
    return LoadedFlight{store.current, analysis::computeStatistics(store.current)};
}

}  // namespace

int runStats(CliArgs& args, std::ostream& out, std::ostream& err) {
    const bool json = args.takeFlag("--json");
    const auto unitsText = args.takeOption("--units");
    const auto k = args.takeSetIndex(err);
    if (!k) {
        return exit_code::kUsage;
    }
    const auto rocket = takeRocketOptions(args, err);
    if (!rocket) {
        return exit_code::kUsage;
    }
    analysis::UnitSystem units = analysis::UnitSystem::Metric;
    if (unitsText && !analysis::parseUnitSystem(*unitsText, units)) {
        err << "--units takes metric or imperial, not \"" << *unitsText << "\".\n";
        return exit_code::kUsage;
    }
    std::vector<std::string> paths;
    while (auto path = args.takePositional()) {
        paths.push_back(*path);
    }
    if (paths.empty()) {
        err << kStatsUsage;
        return exit_code::kUsage;
    }
    if (!args.checkDone(err)) {
        return exit_code::kUsage;
    }
    if (rocket->simPath && paths.size() > 1) {
        err << "--sim compares one flight with its simulation; give one FILE.tev.\n";
        return exit_code::kUsage;
    }
    std::vector<analysis::FlightStatistics> stats;
    std::vector<analysis::CoastDrag> drags;
    std::optional<simulation::Simulation> chosenSim;
    if (rocket->simPath && !(chosenSim = chooseSimulation(*rocket, err))) {
        return exit_code::kFailed;
    }
    std::optional<simulation::FlightAgainstSimulation> chosen;
    for (const auto& path : paths) {
        auto flight = loadFlight(path, *k, paths.size() > 1, err);
        if (!flight) {
            return exit_code::kFailed;
        }
        stats.push_back(flight->stats);
        if (chosenSim) {
            chosen = simulation::compareFlight(flight->set, flight->stats, std::move(*chosenSim),
                                               toText(toPath(*rocket->simPath).filename()),
                                               rocketOverrides(*rocket));
            drags.push_back(chosen->drag);
        } else {
            drags.push_back(simulation::coastDragFor(flight->set, flight->stats,
                                                     rocketOverrides(*rocket), nullptr));
        }
    }
    if (json) {
        nlohmann::ordered_json doc = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < stats.size(); ++i) {
            auto j = analysis::statisticsJson(stats[i]);
            j["coast_drag"] = analysis::coastDragJson(drags[i]);
            if (chosen) {
                j["simulation"] = simulation::comparisonJson(chosen->sim, chosen->facts,
                                                             chosen->comparison, chosen->verdict);
            }
            doc.push_back(std::move(j));
        }
        out << (stats.size() == 1 ? doc.front() : doc)
                   .dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
            << "\n";
        return exit_code::kOk;
    }
    if (stats.size() == 1 && !rocket->any()) {
        out << statisticsText(stats.front(), units);
        return exit_code::kOk;
    }
    if (stats.size() == 1) {
        auto rows = analysis::statisticsTable(stats.front(), units);
        rows.push_back(analysis::coastDragRow(drags.front(), units));
        out << alignedRows(rows);
        if (chosen) {
            out << "\n" << comparisonText(chosen->heading(), chosen->rows(units), chosen->verdict);
        }
        return exit_code::kOk;
    }
    // Columns are headed by file names, or by the paths as given when two names match.
    std::vector<std::string> names;
    for (const auto& path : paths) {
        names.push_back(toText(toPath(path).filename()));
    }
    const std::set<std::string> distinct(names.begin(), names.end());
    if (distinct.size() != names.size()) {
        names = paths;
    }
    std::vector<std::vector<analysis::StatisticsRow>> extra(stats.size());
    if (rocket->any()) {
        for (std::size_t i = 0; i < stats.size(); ++i) {
            extra[i].push_back(analysis::coastDragRow(drags[i], units));
        }
    }
    out << statisticsColumns(stats, names, units, extra);
    return exit_code::kOk;
}

}  // namespace tevusb::cli
