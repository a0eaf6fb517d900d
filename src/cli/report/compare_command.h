// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "analysis/units.h"

namespace tevusb::cli {

// report A.tev B.tev ... --pdf OUT: set k of every file on one comparison page. A file
// that cannot be read, or lacks set k, is named and nothing is written: 1. 0 on success.
int runComparisonReport(const std::vector<std::string>& files, int k, analysis::UnitSystem units,
                        const std::vector<std::string>& pdfPaths, std::ostream& out,
                        std::ostream& err);

}  // namespace tevusb::cli
