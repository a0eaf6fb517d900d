// SPDX-License-Identifier: MIT
#include "library/problem_list.h"

#include "log/diagnostic_log.h"

namespace tevusb::library {

namespace {

// Longest list a summary box shows; a box taller than the screen hides its buttons.
constexpr std::size_t kListedProblems = 25;

}  // namespace

std::string listedProblems(const std::vector<std::string>& problems) {
    std::string text;
    for (std::size_t i = 0; i < problems.size() && i < kListedProblems; ++i) {
        text += "\n" + problems[i];
    }
    if (problems.size() > kListedProblems) {
        text += "\n...and " + std::to_string(problems.size() - kListedProblems) +
                " more (listed in the diagnostic output).";
    }
    for (const std::string& p : problems) {
        log::logLine(p);
    }
    return text;
}

std::string counted(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace tevusb::library
