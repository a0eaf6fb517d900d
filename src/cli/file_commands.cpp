// SPDX-License-Identifier: MIT
#include "cli/file_commands.h"

#include "analysis/flight_statistics.h"
#include "cli/settings_text.h"
#include "cli/statistics_text.h"
#include "data/data_set_store.h"
#include "text/string_table.h"

namespace tevusb::cli {

namespace {

std::string hex4(unsigned v) {
    static const char* digits = "0123456789abcdef";
    std::string s = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) {
        s.push_back(digits[(v >> shift) & 0xF]);
    }
    return s;
}

bool loadOrComplain(data::DataSetStore& store, const std::string& path, std::ostream& err,
                    std::uint16_t* version = nullptr) {
    if (store.loadSetFile(path, version)) {
        return true;
    }
    err << text::stringText(109) << "\n";
    return false;
}

}  // namespace

int runShow(CliArgs& args, std::ostream& out, std::ostream& err) {
    const auto unitsText = args.takeOption("--units");
    auto path = args.takePositional();
    if (!path) {
        err << "Usage: tevusb-cli show FILE.tev [--units metric|imperial]\n";
        return 2;
    }
    if (!args.checkDone(err)) {
        return 2;
    }
    analysis::UnitSystem units = analysis::UnitSystem::Metric;
    if (unitsText && !analysis::parseUnitSystem(*unitsText, units)) {
        err << "--units takes metric or imperial, not \"" << *unitsText << "\".\n";
        return 2;
    }
    data::DataSetStore store;
    std::uint16_t version = 0;
    if (!loadOrComplain(store, *path, err, &version)) {
        return 1;
    }
    store.selectSet(0);
    const auto& set = store.current;
    const bool legacy = version < 0x0110;
    out << "Format version: " << hex4(version) << (legacy ? " (legacy)" : "") << "\n";
    out << "Packets: " << store.packets.size() << "\n";
    out << "Readings: " << store.readingCount() << "\n";
    out << "Sets: " << store.setCount() << "\n";
    out << settingsText(store.settings);
    out << "Comment: " << store.comment(0) << "\n";
    out << "Statistics of set 0:\n"
        << statisticsText(analysis::computeStatistics(set), units, "  ");
    return 0;
}

int runExport(CliArgs& args, std::ostream& out, std::ostream& err) {
    const auto csv = args.takeOption("--csv");
    const auto xml = args.takeOption("--xml");
    const auto k = args.takeSetIndex(err);
    if (!k) {
        return 2;
    }
    auto path = args.takePositional();
    if (!path || csv.has_value() == xml.has_value()) {
        err << "Usage: tevusb-cli export FILE.tev (--csv OUT.csv | --xml OUT.xml) [--set K]\n";
        return 2;
    }
    if (!args.checkDone(err)) {
        return 2;
    }
    data::DataSetStore store;
    if (!loadOrComplain(store, *path, err)) {
        return 1;
    }
    if (*k >= store.setCount()) {
        err << "The file holds " << store.setCount() << " set start(s); there is no set " << *k
            << ".\n";
        return 1;
    }
    const bool ok = csv ? store.exportCsv(*csv, *k) : store.exportXml(*xml, *k);
    if (!ok) {
        err << text::stringText(104) << "\n";
        return 1;
    }
    out << "Wrote " << (csv ? *csv : *xml) << " (" << store.readingCount() << " readings).\n";
    return 0;
}

}  // namespace tevusb::cli
