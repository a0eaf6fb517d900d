// SPDX-License-Identifier: MIT
#include "simulation/rasaero_csv.h"

#include <limits>

#include "simulation/csv_layout.h"
#include "simulation/import_limits.h"
#include "simulation/number_text.h"
#include "simulation/simulation_builder.h"
#include "simulation/text_lines.h"

namespace tevusb::simulation {

namespace {

std::string_view firstLine(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    const std::size_t end = std::min(text.find('\n'), ImportLimits::kMaxLineBytes);
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace

bool looksLikeRasAeroCsv(std::string_view text) {
    const std::string_view header = trimBlanks(firstLine(text));
    return header.starts_with("Time (sec),") || header.starts_with("\"Time (sec)\",");
}

ImportResult<Simulation> readRasAeroCsv(std::string_view text, const std::string& fileName,
                                        const std::string& name) {
    const std::string where = fileName + ": ";
    auto split = splitLines(text, where);
    if (auto* error = std::get_if<ImportError>(&split)) {
        return *error;
    }
    const auto& lines = std::get<0>(split);
    if (lines.empty()) {
        return ImportError{where + "the file is empty"};
    }
    std::vector<std::string_view> fields;
    splitFields(lines.front(), ",", fields);
    if (fields.size() > ImportLimits::kMaxColumns) {
        return ImportError{where + "more than " + std::to_string(ImportLimits::kMaxColumns) +
                           " columns"};
    }
    std::vector<SimulationBuilder::Column> columns;
    for (std::string_view field : fields) {
        field = trimBlanks(field);
        if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
            field = field.substr(1, field.size() - 2);
        }
        auto column = columnForField(field, where);
        if (auto* error = std::get_if<ImportError>(&column)) {
            return *error;
        }
        columns.push_back(std::get<0>(column));
    }
    SimulationBuilder builder(std::move(columns));
    std::vector<double> values(fields.size(), 0.0);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (trimBlanks(lines[i]).empty()) {
            continue;
        }
        splitFields(lines[i], ",", fields);
        for (std::size_t c = 0; c < values.size(); ++c) {
            if (!builder.uses(c)) {
                continue;
            }
            // A short row or an empty field is a value the program left blank.
            const std::string_view field = c < fields.size() ? trimBlanks(fields[c]) : "";
            const auto value = field.empty()
                                   ? std::optional(std::numeric_limits<double>::quiet_NaN())
                                   : parseNumber(field);
            if (!value) {
                return ImportError{fileName + ", line " + std::to_string(i + 1) + ", column " +
                                   std::to_string(c + 1) + ": " + quoted(field) +
                                   " is not a number"};
            }
            values[c] = *value;
        }
        if (!builder.addRow(values)) {
            return ImportError{fileName + ", line " + std::to_string(i + 1) + ": more than " +
                               std::to_string(ImportLimits::kMaxRows) + " data rows"};
        }
    }
    return builder.finish(name, where);
}

}  // namespace tevusb::simulation
