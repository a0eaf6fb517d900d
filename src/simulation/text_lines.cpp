// SPDX-License-Identifier: MIT
#include "simulation/text_lines.h"

#include <string>

#include "simulation/import_limits.h"

namespace tevusb::simulation {

ImportResult<std::vector<std::string_view>> splitLines(std::string_view text,
                                                       const std::string& where) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.size() > ImportLimits::kMaxLineBytes) {
            return ImportError{where + "line " + std::to_string(lines.size() + 1) +
                               " is longer than " + std::to_string(ImportLimits::kMaxLineBytes) +
                               " bytes"};
        }
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (lines.size() >= ImportLimits::kMaxRows + 1000) {
            return ImportError{where + "more than " + std::to_string(ImportLimits::kMaxRows) +
                               " lines"};
        }
        lines.push_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace tevusb::simulation
