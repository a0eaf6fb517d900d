// SPDX-License-Identifier: MIT
#include "simulation/csv_layout.h"

#include "simulation/column_kind.h"
#include "simulation/number_text.h"
#include "simulation/text_lines.h"
#include "simulation/unit_factor.h"

namespace tevusb::simulation {

namespace {

constexpr std::string_view kPointsText = " data points written for ";
constexpr std::string_view kEventText = "Event ";
constexpr std::string_view kEventAt = " occurred at t=";

bool isDataRow(std::string_view line) {
    return leadingNumberLength(trimBlanks(line)) > 0;
}

// The text before `at`, less the one space the simulator puts after its starter.
std::string starterBefore(std::string_view line, std::size_t at) {
    std::string_view prefix = line.substr(0, at);
    if (prefix.ends_with(' ')) {
        prefix.remove_suffix(1);
    }
    return std::string(prefix);
}

// The starter, from the lines whose wording we know: "N data points written for M
// variables.", an event line, or the header's time column.
std::optional<std::string> findStarter(const std::vector<std::string_view>& preamble) {
    for (std::string_view line : preamble) {
        const std::size_t points = line.find(kPointsText);
        if (points != std::string_view::npos && points > 0) {
            std::size_t start = points;
            while (start > 0 && line[start - 1] >= '0' && line[start - 1] <= '9') {
                --start;
            }
            if (start < points) {
                return starterBefore(line, start);
            }
        }
        const std::size_t event = line.find(kEventText);
        if (event != std::string_view::npos &&
            line.find(kEventAt, event) != std::string_view::npos) {
            return starterBefore(line, event);
        }
    }
    // The header is the last line before the data; its time column names the spot.
    for (auto it = preamble.rbegin(); it != preamble.rend(); ++it) {
        std::size_t count = 0;
        const std::string_view* names = timeNames(count);
        std::size_t best = std::string_view::npos;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = it->find(std::string(names[i]) + " (");
            best = std::min(best, at);
        }
        if (best != std::string_view::npos) {
            return starterBefore(*it, best);
        }
    }
    return std::nullopt;
}

bool isPointsLine(std::string_view text) {
    return text.find(kPointsText) != std::string_view::npos &&
           text.find(" variables.") != std::string_view::npos;
}

// The separator is what stands between the first two numbers of the first data row.
std::string separatorOf(std::string_view row) {
    row = trimBlanks(row);
    const std::size_t first = leadingNumberLength(row);
    for (std::size_t i = first; i < row.size(); ++i) {
        const char c = row[i];
        const bool mayStart = (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' ||
                              c == 'N' || c == 'n' || c == 'I' || c == 'i';
        if (mayStart && i > first && leadingNumberLength(row.substr(i)) > 0) {
            return std::string(row.substr(first, i - first));
        }
    }
    return {};
}

}  // namespace

std::string quoted(std::string_view text) {
    constexpr std::size_t kShown = 40;
    std::string out = "\"";
    for (char c : text.substr(0, kShown)) {
        // A message is one line: control bytes from the file are not written out.
        out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    }
    return out + (text.size() > kShown ? "...\"" : "\"");
}

// "Altitude (ft)" → column kind and factor; a column we do not use is skipped whatever
// its unit, one we use must carry a unit we know.
ImportResult<SimulationBuilder::Column> columnForField(std::string_view field,
                                                       const std::string& where) {
    std::string_view name = field;
    std::string_view unit;
    const std::size_t open = field.rfind('(');
    if (open != std::string_view::npos && field.ends_with(')')) {
        name = trimBlanks(field.substr(0, open));
        unit = field.substr(open + 1, field.size() - open - 2);
    }
    SimulationBuilder::Column column;
    column.kind = recogniseColumn(name);
    if (!column.kind) {
        return column;
    }
    const auto factor = unitFactor(*column.kind, unit);
    if (!factor) {
        return ImportError{where + "column " + quoted(field) + ": unit " + quoted(unit) +
                           " is not one we know"};
    }
    column.factor = *factor;
    return column;
}

bool CsvLayout::isComment(std::string_view line) const {
    return !starter.empty() && line.starts_with(starter);
}

std::string_view CsvLayout::commentText(std::string_view line) const {
    line.remove_prefix(std::min(starter.size(), line.size()));
    if (line.starts_with(' ')) {
        line.remove_prefix(1);
    }
    return line;
}

std::optional<CsvEvent> parseEventComment(std::string_view text) {
    text = trimBlanks(text);
    if (!text.starts_with(kEventText)) {
        return std::nullopt;
    }
    const std::size_t at = text.find(kEventAt);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view time = text.substr(at + kEventAt.size());
    if (time.ends_with(" seconds")) {
        time.remove_suffix(8);
    }
    const auto t = parseNumber(time);
    if (!t) {
        return std::nullopt;
    }
    return CsvEvent{trimBlanks(text.substr(kEventText.size(), at - kEventText.size())), *t};
}

void splitFields(std::string_view line, std::string_view separator,
                 std::vector<std::string_view>& out) {
    out.clear();
    if (separator.empty()) {
        out.push_back(line);
        return;
    }
    while (true) {
        const std::size_t at = line.find(separator);
        out.push_back(line.substr(0, at));
        if (at == std::string_view::npos) {
            return;
        }
        line.remove_prefix(at + separator.size());
    }
}

std::size_t splitFieldsUpTo(std::string_view line, std::string_view separator, std::size_t keep,
                            std::vector<std::string_view>& out) {
    out.clear();
    if (separator.empty()) {
        if (keep > 0) {
            out.push_back(line);
        }
        return 1;
    }
    std::size_t count = 0;
    while (true) {
        const std::size_t at = line.find(separator);
        if (count < keep) {
            out.push_back(line.substr(0, at));
        }
        ++count;
        if (at == std::string_view::npos) {
            return count;
        }
        line.remove_prefix(at + separator.size());
        if (count >= keep && separator.size() == 1) {
            // Only the number of fields is left to find.
            for (char c : line) {
                count += c == separator.front() ? 1 : 0;
            }
            return count + 1;
        }
    }
}

ImportResult<CsvLayout> findCsvLayout(const std::vector<std::string_view>& lines,
                                      const std::string& where) {
    CsvLayout layout;
    std::vector<std::string_view> preamble;
    std::size_t first = 0;
    while (first < lines.size() && !isDataRow(lines[first])) {
        if (!trimBlanks(lines[first]).empty()) {
            preamble.push_back(lines[first]);
        }
        ++first;
    }
    if (first == lines.size()) {
        return ImportError{where + "no data rows"};
    }
    layout.firstDataLine = first;
    if (preamble.empty()) {
        return ImportError{where +
                           "the columns have no names (the export left out the field "
                           "descriptions); export again with them switched on"};
    }
    if (const auto starter = findStarter(preamble)) {
        layout.starter = *starter;
    }
    // Without a starter the header is an ordinary first line.
    std::optional<std::size_t> firstComment, secondComment, lastBeforeData;
    for (std::size_t i = 0; i < first; ++i) {
        const bool comment =
            layout.starter.empty() ? !trimBlanks(lines[i]).empty() : layout.isComment(lines[i]);
        if (!comment) {
            continue;
        }
        if (!firstComment) {
            firstComment = i;
        } else if (!secondComment) {
            secondComment = i;
        }
        const std::string_view text =
            layout.starter.empty() ? lines[i] : layout.commentText(lines[i]);
        if (!parseEventComment(text) && !trimBlanks(text).empty()) {
            lastBeforeData = i;
        }
    }
    if (firstComment && secondComment && isPointsLine(layout.commentText(lines[*secondComment]))) {
        layout.nameLine = *firstComment;
    }
    if (lastBeforeData && lastBeforeData != layout.nameLine &&
        !isPointsLine(layout.commentText(lines[*lastBeforeData]))) {
        layout.headerLine = *lastBeforeData;
    }
    if (!layout.headerLine) {
        return ImportError{where +
                           "the columns have no names (the export left out the field "
                           "descriptions); export again with them switched on"};
    }
    layout.separator = separatorOf(lines[first]);
    const std::string_view header = layout.starter.empty()
                                        ? lines[*layout.headerLine]
                                        : layout.commentText(lines[*layout.headerLine]);
    // Names hold blanks and the separator may be a blank, but every field ends with its
    // unit's ")": split there.
    std::vector<std::string_view> parts;
    if (layout.separator.empty()) {
        parts.push_back(trimBlanks(header));
    } else {
        splitFields(trimBlanks(header), ")" + layout.separator, parts);
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string_view field = parts[i];
        if (i + 1 < parts.size()) {
            field = std::string_view(field.data(), field.size() + 1);  // keep the ")"
        }
        layout.fields.push_back(trimBlanks(field));
    }
    return layout;
}

}  // namespace tevusb::simulation
