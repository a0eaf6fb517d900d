// SPDX-License-Identifier: MIT
#include "cli/stats_command.h"

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "analysis/statistics_json.h"
#include "cli/statistics_text.h"
#include "data/data_set_store.h"
#include "text/string_table.h"

namespace tevusb::cli {

namespace {

const char* kStatsUsage =
    "Usage: tevusb-cli stats FILE.tev [FILE.tev ...] [--set K] [--units metric|imperial] "
    "[--json]\n";

// Loads set k of one file; says what is wrong on err (naming the file when there are
// several) and gives nothing when it cannot.
std::optional<analysis::FlightStatistics> loadStatistics(const std::string& path, int k,
                                                         bool nameFile, std::ostream& err) {
    const std::string prefix = nameFile ? path + ": " : "";
    data::DataSetStore store;
    if (!store.loadSetFile(path)) {
        err << prefix << text::stringText(109) << "\n";
        return std::nullopt;
    }
    if (k >= store.setCount()) {
        err << prefix << "The file holds " << store.setCount() << " set start(s); there is no set "
            << k << ".\n";
        return std::nullopt;
    }
    store.selectSet(k);
    return analysis::computeStatistics(store.current);
}

}  // namespace

int runStats(CliArgs& args, std::ostream& out, std::ostream& err) {
    const bool json = args.takeFlag("--json");
    const auto unitsText = args.takeOption("--units");
    const auto k = args.takeSetIndex(err);
    if (!k) {
        return 2;
    }
    analysis::UnitSystem units = analysis::UnitSystem::Metric;
    if (unitsText && !analysis::parseUnitSystem(*unitsText, units)) {
        err << "--units takes metric or imperial, not \"" << *unitsText << "\".\n";
        return 2;
    }
    std::vector<std::string> paths;
    while (auto path = args.takePositional()) {
        paths.push_back(*path);
    }
    if (paths.empty()) {
        err << kStatsUsage;
        return 2;
    }
    if (!args.checkDone(err)) {
        return 2;
    }
    std::vector<analysis::FlightStatistics> stats;
    for (const auto& path : paths) {
        auto s = loadStatistics(path, *k, paths.size() > 1, err);
        if (!s) {
            return 1;
        }
        stats.push_back(*s);
    }
    if (json) {
        nlohmann::ordered_json doc = nlohmann::ordered_json::array();
        for (const auto& s : stats) {
            doc.push_back(analysis::statisticsJson(s));
        }
        out << (stats.size() == 1 ? doc.front() : doc).dump(2) << "\n";
        return 0;
    }
    if (stats.size() == 1) {
        out << statisticsText(stats.front(), units);
        return 0;
    }
    // Columns are headed by file names, or by the paths as given when two names match.
    std::vector<std::string> names;
    for (const auto& path : paths) {
        names.push_back(std::filesystem::path(path).filename().string());
    }
    const std::set<std::string> distinct(names.begin(), names.end());
    if (distinct.size() != names.size()) {
        names = paths;
    }
    out << statisticsColumns(stats, names, units);
    return 0;
}

}  // namespace tevusb::cli
