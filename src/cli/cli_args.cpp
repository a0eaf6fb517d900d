// SPDX-License-Identifier: MIT
#include "cli/cli_args.h"

#include <charconv>

namespace tevusb::cli {

std::optional<std::string> CliArgs::takePositional() {
    // Handlers take their options first, so anything still starting with "--" here is an
    // option nobody knows, which leftover() reports.
    if (m_words.empty() || m_words.front().rfind("--", 0) == 0) {
        return std::nullopt;
    }
    std::string word = m_words.front();
    m_words.erase(m_words.begin());
    return word;
}

std::optional<std::string> CliArgs::takeOption(const std::string& name) {
    for (auto it = m_words.begin(); it != m_words.end(); ++it) {
        if (it->size() > name.size() && it->compare(0, name.size(), name) == 0 &&
            (*it)[name.size()] == '=') {
            std::string value = it->substr(name.size() + 1);
            m_words.erase(it);
            return value;
        }
        if (*it == name) {
            if (it + 1 == m_words.end()) {
                m_missingValue = true;
                m_words.erase(it);
                return std::nullopt;
            }
            std::string value = *(it + 1);
            m_words.erase(it, it + 2);
            return value;
        }
    }
    return std::nullopt;
}

bool CliArgs::takeFlag(const std::string& name) {
    for (auto it = m_words.begin(); it != m_words.end(); ++it) {
        if (*it == name) {
            m_words.erase(it);
            return true;
        }
    }
    return false;
}

std::vector<std::string> CliArgs::takeAll() {
    std::vector<std::string> words;
    words.swap(m_words);
    return words;
}

std::optional<std::string> CliArgs::leftover() const {
    if (m_words.empty()) {
        return std::nullopt;
    }
    return m_words.front();
}

bool CliArgs::checkDone(std::ostream& err) const {
    if (auto extra = leftover()) {
        err << "Unexpected argument: " << *extra << "\n";
        return false;
    }
    if (m_missingValue) {
        err << "An option is missing its value.\n";
        return false;
    }
    return true;
}

std::optional<int> CliArgs::takeSetIndex(std::ostream& err) {
    const auto text = takeOption("--set");
    if (!text) {
        return 0;
    }
    const auto parsed = parseInt(*text);
    if (!parsed || *parsed < 0) {
        err << "--set takes a set number of 0 or more.\n";
        return std::nullopt;
    }
    return parsed;
}

std::optional<int> parseInt(const std::string& text) {
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') {
        ++first;
    }
    auto res = std::from_chars(first, last, value);
    if (res.ec != std::errc() || res.ptr != last || first == last) {
        return std::nullopt;
    }
    return value;
}

}  // namespace tevusb::cli
