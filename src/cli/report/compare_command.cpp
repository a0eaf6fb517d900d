// SPDX-License-Identifier: MIT
#include "cli/report/compare_command.h"

#include <QDateTime>
#include <filesystem>

#include "cli/cli_path.h"
#include "cli/exit_code.h"
#include "data/data_set_store.h"
#include "report/comparison_report.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace tevusb::cli {

int runComparisonReport(const std::vector<std::string>& files, int k, analysis::UnitSystem units,
                        const std::vector<std::string>& pdfPaths, std::ostream& out,
                        std::ostream& err) {
    if (files.size() > report::kMaxComparedFlights) {
        err << "At most " << report::kMaxComparedFlights
            << " flights fit on one comparison page.\n";
        return exit_code::kUsage;
    }
    report::ComparisonContent content;
    content.units = units;
    content.generated = QDateTime::currentDateTimeUtc();
    bool ok = true;
    for (const std::string& file : files) {
        data::DataSetStore store;
        data::LoadError error;
        if (!store.loadSetFile(toPath(file), error)) {
            err << file << ": " << text::stringText(text::string_ids::kLoadFailed) << "\n"
                << error.message << "\n";
            ok = false;
            continue;
        }
        if (k >= store.setCount() || !store.selectSet(k) || store.current.size() == 0) {
            err << file << ": there is no set " << k << " with readings.\n";
            ok = false;
            continue;
        }
        graph::ComparedFlight flight;
        const std::string name = toText(toPath(file).filename());
        flight.name = QString::fromStdString(name);
        if (store.setCount() > 1) {
            flight.name += QStringLiteral(" #%1").arg(k + 1);
        }
        flight.set = store.current;
        flight.statistics = analysis::computeStatistics(flight.set);
        content.flights.push_back(std::move(flight));
    }
    if (!ok) {
        return exit_code::kFailed;
    }
    int status = exit_code::kOk;
    for (const std::string& path : pdfPaths) {
        if (const std::string problem = report::writeComparisonPdf(toPath(path), content);
            !problem.empty()) {
            err << problem << "\n";
            status = exit_code::kFailed;
            continue;
        }
        out << "Wrote " << path << " (" << content.flights.size() << " flights compared, "
            << analysis::unitSystemName(units) << ").\n";
    }
    return status;
}

}  // namespace tevusb::cli
