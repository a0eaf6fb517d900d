// SPDX-License-Identifier: MIT
#include "simulation/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tevusb::simulation {

namespace {

bool sameWord(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + 32) : text[i];
        if (c != word[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<double> parseNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() == '+' || text.front() == '-') {
        return std::nullopt;
    }
    if (sameWord(text, "nan")) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (sameWord(text, "inf") || sameWord(text, "infinity")) {
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    // A value past the double range is infinite, as the simulator would have written it.
    if (result.ec == std::errc::result_out_of_range) {
        const bool tiny = text.find_first_of("eE") != std::string_view::npos &&
                          text.find("e-") != std::string_view::npos;
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (result.ec != std::errc()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::size_t leadingNumberLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    const std::string_view rest = text.substr(i);
    if (rest.size() >= 3 &&
        (sameWord(rest.substr(0, 3), "nan") || sameWord(rest.substr(0, 3), "inf"))) {
        return i + 3;
    }
    std::size_t digits = 0;
    while (i < text.size() && ((text[i] >= '0' && text[i] <= '9') || text[i] == '.')) {
        digits += text[i] != '.' ? 1 : 0;
        ++i;
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) {
            ++j;
        }
        const std::size_t start = j;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') {
            ++j;
        }
        if (j > start) {
            i = j;
        }
    }
    return i;
}

}  // namespace tevusb::simulation
