// SPDX-License-Identifier: MIT
#include "simulation/openrocket_csv.h"

#include "simulation/csv_layout.h"
#include "simulation/import_limits.h"
#include "simulation/number_text.h"
#include "simulation/simulation_builder.h"
#include "simulation/text_lines.h"
#include "simulation/unit_factor.h"

namespace tevusb::simulation {

namespace {

// "Name (Up to date)" → "Name": the status in brackets is not part of the name.
std::string nameOf(std::string_view text) {
    text = trimBlanks(text);
    if (text.ends_with(')')) {
        const std::size_t open = text.rfind(" (");
        if (open != std::string_view::npos && open > 0) {
            text = text.substr(0, open);
        }
    }
    return std::string(trimBlanks(text));
}

std::string lineWhere(const std::string& fileName, std::size_t index) {
    return fileName + ", line " + std::to_string(index + 1);
}

}  // namespace

ImportResult<Simulation> readOpenRocketCsv(std::string_view text, const std::string& fileName,
                                           const std::string& fallbackName) {
    const std::string where = fileName + ": ";
    auto split = splitLines(text, where);
    if (auto* error = std::get_if<ImportError>(&split)) {
        return *error;
    }
    const auto& lines = std::get<0>(split);
    auto found = findCsvLayout(lines, where);
    if (auto* error = std::get_if<ImportError>(&found)) {
        return *error;
    }
    const CsvLayout& layout = std::get<CsvLayout>(found);
    if (layout.fields.size() > ImportLimits::kMaxColumns) {
        return ImportError{where + "more than " + std::to_string(ImportLimits::kMaxColumns) +
                           " columns"};
    }
    std::vector<SimulationBuilder::Column> columns;
    for (std::string_view field : layout.fields) {
        auto column = columnForField(field, where);
        if (auto* error = std::get_if<ImportError>(&column)) {
            return *error;
        }
        columns.push_back(std::get<0>(column));
    }
    SimulationBuilder builder(std::move(columns));
    std::vector<std::string_view> fields;
    std::vector<double> values(layout.fields.size(), 0.0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (i < layout.firstDataLine || trimBlanks(line).empty()) {
            if (i < layout.firstDataLine && layout.isComment(line)) {
                if (const auto event = parseEventComment(layout.commentText(line))) {
                    builder.addEvent(event->type, event->timeS);
                }
            }
            continue;
        }
        if (layout.isComment(line)) {
            if (const auto event = parseEventComment(layout.commentText(line))) {
                if (!builder.addEvent(event->type, event->timeS)) {
                    return ImportError{lineWhere(fileName, i) + ": too many events"};
                }
            }
            continue;
        }
        const std::size_t count =
            splitFieldsUpTo(trimBlanks(line), layout.separator, builder.usedEnd(), fields);
        if (count != layout.fields.size()) {
            return ImportError{lineWhere(fileName, i) + ": " + std::to_string(count) +
                               " fields where the header names " +
                               std::to_string(layout.fields.size())};
        }
        for (std::size_t c = 0; c < fields.size(); ++c) {
            if (!builder.uses(c)) {
                continue;
            }
            const auto value = parseNumber(fields[c]);
            if (!value) {
                return ImportError{lineWhere(fileName, i) + ", column " + std::to_string(c + 1) +
                                   ": " + quoted(fields[c]) + " is not a number"};
            }
            values[c] = *value;
        }
        if (!builder.addRow(values)) {
            return ImportError{lineWhere(fileName, i) + ": more than " +
                               std::to_string(ImportLimits::kMaxRows) + " data rows"};
        }
    }
    const std::string name =
        layout.nameLine ? nameOf(layout.commentText(lines[*layout.nameLine])) : fallbackName;
    return builder.finish(name.empty() ? fallbackName : name, where);
}

}  // namespace tevusb::simulation
