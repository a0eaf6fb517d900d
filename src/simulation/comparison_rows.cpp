// SPDX-License-Identifier: MIT
#include "simulation/comparison_rows.h"

#include "analysis/statistics_table.h"

namespace tevusb::simulation {

namespace {

std::string shown(const ComparedValue& v, const std::optional<double>& si,
                  analysis::UnitSystem system) {
    return si ? analysis::formatQuantity(v.quantity, *si, system, 1) : analysis::kNoValue;
}

// A rounded difference of zero carries no sign.
bool hasDigitsAboveZero(const std::string& text) {
    for (char c : text) {
        if (c >= '1' && c <= '9') {
            return true;
        }
        if (c == ' ') {
            break;
        }
    }
    return false;
}

}  // namespace

std::vector<ComparisonRow> comparisonRows(const SimulationComparison& comparison,
                                          analysis::UnitSystem system) {
    std::vector<ComparisonRow> rows;
    for (const auto& v : comparison.values) {
        ComparisonRow row{v.label, shown(v, v.simulated, system), shown(v, v.flown, system),
                          analysis::kNoValue};
        if (const auto d = v.difference()) {
            std::string text = analysis::formatQuantity(v.quantity, *d, system, 1);
            if (hasDigitsAboveZero(text) && text.front() != '-') {
                text = "+" + text;
            }
            if (const auto pct = v.differencePct()) {
                std::string p = analysis::formatNumber(*pct, 1);
                text += " (" + (hasDigitsAboveZero(p) && p.front() != '-' ? "+" + p : p) + " %)";
            }
            row.difference = text;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace tevusb::simulation
