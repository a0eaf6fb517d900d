// SPDX-License-Identifier: MIT
#include "cli/simulation_text.h"

#include <algorithm>
#include <array>

#include "cli/statistics_text.h"
#include "simulation/import_error.h"
#include "simulation/simulation_facts.h"

namespace tevusb::cli {

namespace {

std::string optionalQuantity(analysis::Quantity q, const std::optional<double>& v,
                             analysis::UnitSystem units) {
    return v ? analysis::formatQuantity(q, *v, units, 1) : analysis::kNoValue;
}

std::string eventsText(const simulation::Simulation& sim) {
    if (sim.events.empty()) {
        return analysis::kNoValue;
    }
    std::string text;
    for (const auto& e : sim.events) {
        text +=
            (text.empty() ? "" : ", ") + e.type + " " + analysis::formatNumber(e.timeS, 2) + " s";
    }
    return text;
}

}  // namespace

std::string simulationListText(const std::vector<simulation::Simulation>& sims,
                               analysis::UnitSystem units) {
    using analysis::Quantity;
    std::string out;
    for (std::size_t i = 0; i < sims.size(); ++i) {
        const auto& sim = sims[i];
        const auto f = simulation::simulationFacts(sim);
        std::string apogee = optionalQuantity(Quantity::Altitude, f.apogeeM, units);
        if (f.apogeeM && f.apogeeTimeS) {
            apogee += " at " + analysis::formatQuantity(Quantity::Time, *f.apogeeTimeS, units, 2);
        }
        std::vector<analysis::StatisticsRow> rows = {
            {"Data rows", sim.points() == 0 ? "0 (results only)" : std::to_string(sim.points())},
            {"Apogee", apogee},
            {"Peak vertical velocity",
             optionalQuantity(Quantity::Speed, f.maxVerticalVelocityMs, units)},
            {"Events", eventsText(sim)},
            {"Coast mass", f.coastMassKg ? analysis::formatNumber(*f.coastMassKg, 3) + " kg"
                                         : analysis::kNoValue},
            {"Reference area",
             f.referenceAreaM2 ? analysis::formatNumber(*f.referenceAreaM2 * 1e4, 2) + " cm\u00b2"
                               : analysis::kNoValue},
        };
        out += (i == 0 ? "" : "\n") + std::to_string(i + 1) + ". " + simulation::oneLine(sim.name) +
               "\n";
        out += alignedRows(rows, "   ");
    }
    return out;
}

std::string comparisonText(const std::string& heading,
                           const std::vector<simulation::ComparisonRow>& rows,
                           const std::string& verdict) {
    std::vector<std::array<std::string, 4>> table = {{"", "Simulated", "Flown", "Difference"}};
    for (const auto& r : rows) {
        table.push_back({r.label, r.simulated, r.flown, r.difference});
    }
    std::array<std::size_t, 4> widths{};
    for (const auto& line : table) {
        for (std::size_t c = 0; c < 4; ++c) {
            widths[c] = std::max(widths[c], displayWidth(line[c]));
        }
    }
    std::string out = heading + "\n";
    for (const auto& cells : table) {
        std::string line;
        for (std::size_t c = 0; c < 4; ++c) {
            padCell(line, cells[c], widths[c] + kColumnGap);
        }
        endTextLine(out, std::move(line));
    }
    return out + "\n" + verdict + "\n";
}

}  // namespace tevusb::cli
