// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace tevusb::cli {

// Where the report program is looked for, best first: beside this program (a build tree or
// a single folder), then where the package installs it relative to this program's folder.
std::vector<std::filesystem::path> reportHelperCandidates(const std::filesystem::path& self);

// The global --verbose, taken by main, so that a command which hands over to the report
// program (library report) passes it on as `report` does.
void setReportVerbose(bool verbose);
bool reportVerbose();

// tevusb-cli report ...: replaces this process with the report program, handing on the
// words (and --verbose). Returns only when it cannot be started: 1, with a line on `err`.
int execReport(const std::vector<std::string>& words, bool verbose, std::ostream& err);

}  // namespace tevusb::cli
