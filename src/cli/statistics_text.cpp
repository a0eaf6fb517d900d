// SPDX-License-Identifier: MIT
#include "cli/statistics_text.h"

#include <algorithm>

#include "analysis/statistics_table.h"

namespace tevusb::cli {

void padCell(std::string& line, const std::string& text, std::size_t width) {
    line += text;
    line.append(width - std::min(width, displayWidth(text)), ' ');
}

// Trailing blanks of the last column are noise in a terminal and in a diff.
void endTextLine(std::string& out, std::string line) {
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    out += line;
    out += '\n';
}

std::size_t displayWidth(const std::string& text) {
    std::size_t width = 0;
    for (unsigned char c : text) {
        width += (c & 0xC0) != 0x80 ? 1 : 0;
    }
    return width;
}

std::string statisticsText(const analysis::FlightStatistics& stats, analysis::UnitSystem units,
                           const std::string& indent) {
    return alignedRows(analysis::statisticsTable(stats, units), indent);
}

std::string alignedRows(const std::vector<analysis::StatisticsRow>& rows,
                        const std::string& indent) {
    std::size_t labelWidth = 0;
    for (const auto& row : rows) {
        labelWidth = std::max(labelWidth, displayWidth(row.label));
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line = indent;
        padCell(line, row.label, labelWidth + kColumnGap);
        line += row.value;
        endTextLine(out, std::move(line));
    }
    return out;
}

std::string statisticsColumns(const std::vector<analysis::FlightStatistics>& stats,
                              const std::vector<std::string>& names, analysis::UnitSystem units,
                              const std::vector<std::vector<analysis::StatisticsRow>>& extra) {
    std::vector<std::vector<analysis::StatisticsRow>> tables;
    for (std::size_t i = 0; i < stats.size(); ++i) {
        tables.push_back(analysis::statisticsTable(stats[i], units));
        if (i < extra.size()) {
            tables.back().insert(tables.back().end(), extra[i].begin(), extra[i].end());
        }
    }
    if (tables.empty()) {
        return {};
    }
    // Every table has the same labels in the same order; the first names the rows.
    const std::size_t rowCount = tables.front().size();
    std::size_t labelWidth = 0;
    for (const auto& row : tables.front()) {
        labelWidth = std::max(labelWidth, displayWidth(row.label));
    }
    std::vector<std::size_t> widths(tables.size(), 0);
    for (std::size_t c = 0; c < tables.size(); ++c) {
        widths[c] = c < names.size() ? displayWidth(names[c]) : 0;
        for (const auto& row : tables[c]) {
            widths[c] = std::max(widths[c], displayWidth(row.value));
        }
    }
    std::string out;
    std::string heading;
    padCell(heading, "", labelWidth + kColumnGap);
    for (std::size_t c = 0; c < tables.size(); ++c) {
        padCell(heading, c < names.size() ? names[c] : "", widths[c] + kColumnGap);
    }
    endTextLine(out, std::move(heading));
    for (std::size_t r = 0; r < rowCount; ++r) {
        std::string line;
        padCell(line, tables.front()[r].label, labelWidth + kColumnGap);
        for (std::size_t c = 0; c < tables.size(); ++c) {
            padCell(line, r < tables[c].size() ? tables[c][r].value : "", widths[c] + kColumnGap);
        }
        endTextLine(out, std::move(line));
    }
    return out;
}

}  // namespace tevusb::cli
