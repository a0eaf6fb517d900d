// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace tevusb::library {

// "\nfirst\nsecond..." for a summary box: at most 25 lines, the rest counted. Every line is
// also written to the diagnostic output, so nothing a box leaves out is lost.
std::string listedProblems(const std::vector<std::string>& problems);

// "1 flight", "2 flights".
std::string counted(std::size_t n, const char* one, const char* many);

}  // namespace tevusb::library
