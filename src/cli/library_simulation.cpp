// SPDX-License-Identifier: MIT
#include "cli/library_simulation.h"

#include "analysis/statistics_table.h"
#include "cli/cli_path.h"
#include "cli/exit_code.h"

namespace tevusb::cli {

int runAttachSimulation(library::FlightLibrary& library, std::int64_t id, const std::string& file,
                        const std::optional<std::string>& simName, std::ostream& out,
                        std::ostream& err) {
    const auto outcome = library.attachSimulation(id, toPath(file), simName);
    if (!outcome.ok()) {
        err << outcome.message << "\n";
        return exit_code::kFailed;
    }
    const auto attached = library.attachedSimulation(id);
    out << "Flight #" << id << " keeps the simulation \""
        << (attached ? attached->simName : std::string()) << "\" ("
        << (attached ? toText(attached->file) : file) << ").\n";
    return exit_code::kOk;
}

void printAttachment(std::ostream& out, const library::FlightLibrary& library,
                     const library::FlightRecord& record, analysis::UnitSystem units) {
    const auto attached = library.attachedSimulation(record.id);
    if (!attached) {
        return;
    }
    std::string line =
        "Simulation: " + attached->simName + " (" + toText(attached->file.filename()) + ")";
    if (attached->simApogeeM) {
        line += ", apogee " + analysis::formatQuantity(analysis::Quantity::Altitude,
                                                       *attached->simApogeeM, units, 1);
        if (record.apogeeAglM && *attached->simApogeeM > 0.0) {
            const double pct =
                100.0 * (*record.apogeeAglM - *attached->simApogeeM) / *attached->simApogeeM;
            line += ", flight " + std::string(pct > 0.0 ? "+" : "") +
                    analysis::formatNumber(pct, 1) + " %";
        }
    }
    out << line << "\n";
}

}  // namespace tevusb::cli
