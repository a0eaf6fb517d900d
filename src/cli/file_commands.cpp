// SPDX-License-Identifier: MIT
#include "cli/file_commands.h"

#include "analysis/flight_statistics.h"
#include "cli/cli_path.h"
#include "cli/exit_code.h"
#include "cli/settings_text.h"
#include "cli/statistics_text.h"
#include "data/data_set_store.h"
#include "data/set_file.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace tevusb::cli {

namespace {

bool loadOrComplain(data::DataSetStore& store, const std::string& path, std::ostream& err,
                    std::uint16_t* version = nullptr) {
    data::LoadError error;
    if (store.loadSetFile(toPath(path), error, version)) {
        return true;
    }
    err << text::stringText(text::string_ids::kLoadFailed) << "\n" << error.message << "\n";
    return false;
}

}  // namespace

int runShow(CliArgs& args, std::ostream& out, std::ostream& err) {
    const auto unitsText = args.takeOption("--units");
    auto path = args.takePositional();
    if (!path) {
        err << "Usage: tevusb-cli show FILE.tev [--units metric|imperial]\n";
        return exit_code::kUsage;
    }
    if (!args.checkDone(err)) {
        return exit_code::kUsage;
    }
    analysis::UnitSystem units = analysis::UnitSystem::Metric;
    if (unitsText && !analysis::parseUnitSystem(*unitsText, units)) {
        err << "--units takes metric or imperial, not \"" << *unitsText << "\".\n";
        return exit_code::kUsage;
    }
    data::DataSetStore store;
    std::uint16_t version = 0;
    if (!loadOrComplain(store, *path, err, &version)) {
        return exit_code::kFailed;
    }
    store.selectSet(0);
    const auto& set = store.current;
    const bool legacy = version < 0x0110;
    out << "Format version: " << data::set_file::formatVersionText(version)
        << (legacy ? " (legacy)" : "") << "\n";
    out << "Packets: " << store.packets.size() << "\n";
    out << "Readings: " << store.readingCount() << "\n";
    out << "Sets: " << store.setCount() << "\n";
    out << settingsText(store.settings);
    out << "Comment: " << store.comment(0) << "\n";
    out << "Statistics of set 0:\n"
        << statisticsText(analysis::computeStatistics(set), units, "  ");
    return exit_code::kOk;
}

int runExport(CliArgs& args, std::ostream& out, std::ostream& err) {
    const auto csv = args.takeOption("--csv");
    const auto xml = args.takeOption("--xml");
    const auto k = args.takeSetIndex(err);
    if (!k) {
        return exit_code::kUsage;
    }
    auto path = args.takePositional();
    if (!path || csv.has_value() == xml.has_value()) {
        err << "Usage: tevusb-cli export FILE.tev (--csv OUT.csv | --xml OUT.xml) [--set K]\n";
        return exit_code::kUsage;
    }
    if (!args.checkDone(err)) {
        return exit_code::kUsage;
    }
    data::DataSetStore store;
    if (!loadOrComplain(store, *path, err)) {
        return exit_code::kFailed;
    }
    if (*k >= store.setCount()) {
        err << "The file holds " << store.setCount() << " set start(s); there is no set " << *k
            << ".\n";
        return exit_code::kFailed;
    }
    data::SaveError error;
    const bool ok =
        csv ? store.exportCsv(toPath(*csv), *k, error) : store.exportXml(toPath(*xml), *k, error);
    if (!ok) {
        err << text::stringText(text::string_ids::kSaveFailed) << "\n" << error.message << "\n";
        return exit_code::kFailed;
    }
    out << "Wrote " << (csv ? *csv : *xml) << " (" << store.readingCount() << " readings).\n";
    return exit_code::kOk;
}

}  // namespace tevusb::cli
