// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "analysis/flight_statistics.h"
#include "analysis/statistics_table.h"
#include "analysis/units.h"

namespace tevusb::cli {

// The statistics of one set as aligned "label  value" lines, each starting with `indent`.
std::string statisticsText(const analysis::FlightStatistics& stats, analysis::UnitSystem units,
                           const std::string& indent = "");

// Several sets side by side: a heading line of `names`, then one column per set; each set
// may add rows after its statistics (the same labels for every set).
std::string statisticsColumns(const std::vector<analysis::FlightStatistics>& stats,
                              const std::vector<std::string>& names, analysis::UnitSystem units,
                              const std::vector<std::vector<analysis::StatisticsRow>>& extra = {});

// Width of UTF-8 text on a terminal, counting each character (not byte) once.
std::size_t displayWidth(const std::string& text);

// Rows as aligned "label  value" lines, each starting with `indent`.
std::string alignedRows(const std::vector<analysis::StatisticsRow>& rows,
                        const std::string& indent = "");

// The pieces of every aligned table of the command line: a cell padded to `width`
// terminal columns, and a line ended without the trailing blanks of its last cell.
inline constexpr std::size_t kColumnGap = 2;
void padCell(std::string& line, const std::string& text, std::size_t width);
void endTextLine(std::string& out, std::string line);

}  // namespace tevusb::cli
