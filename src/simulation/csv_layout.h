// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulation/import_error.h"
#include "simulation/simulation_builder.h"

namespace tevusb::simulation {

// How the simulator's CSV export was set up, read from the file itself: the comment
// starter and field separator (each may be any text the flyer typed), the header, the
// simulation's name line and where the data rows start.
struct CsvLayout {
    std::string starter;                    // empty when no line is a comment
    std::string separator;                  // between the fields of a row
    std::optional<std::size_t> nameLine;    // index of the name line
    std::optional<std::size_t> headerLine;  // index of the field names
    std::size_t firstDataLine = 0;
    std::vector<std::string_view> fields;  // the header split into "Name (unit)" fields

    // True for a line that is a comment under this layout.
    bool isComment(std::string_view line) const;
    // The comment's text after its starter and the one space that follows it.
    std::string_view commentText(std::string_view line) const;
};

// Reads the layout from `lines`; refuses a file with no data row or no field names.
ImportResult<CsvLayout> findCsvLayout(const std::vector<std::string_view>& lines,
                                      const std::string& where);

// "Event APOGEE occurred at t=12.345 seconds" → ("APOGEE", 12.345).
struct CsvEvent {
    std::string_view type;
    double timeS = 0.0;
};
std::optional<CsvEvent> parseEventComment(std::string_view text);

// Splits `line` at every `separator` (an empty separator gives the whole line).
void splitFields(std::string_view line, std::string_view separator,
                 std::vector<std::string_view>& out);

// The first `keep` fields of `line` into `out`, and how many fields it has in all: the
// columns after the last one we use are only counted, which is most of a wide row.
std::size_t splitFieldsUpTo(std::string_view line, std::string_view separator, std::size_t keep,
                            std::vector<std::string_view>& out);

// "Altitude (ft)" → column kind and factor; a column we do not use is skipped whatever
// its unit, one we use must carry a unit we know.
ImportResult<SimulationBuilder::Column> columnForField(std::string_view field,
                                                       const std::string& where);

// A field shown in a message, cut to a readable length.
std::string quoted(std::string_view text);

}  // namespace tevusb::simulation
