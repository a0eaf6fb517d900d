// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>

#include "cli/cli_args.h"

namespace tevusb::cli {

// tevusb-cli stats FILE.tev [FILE.tev ...] [--set K] [--units metric|imperial] [--json]
//                 [--sim FILE [--sim-name NAME]] [--mass KG] [--diameter M]
// One file: an aligned table; several: one column per file; --json: SI values, an
// object for one file, an array of objects for several. Nothing is printed on stdout
// unless every file could be read. --json always carries coast_drag; with --sim (one
// flight only) also simulation; the text gains the drag and the comparison only when a
// simulation, mass or diameter is given.
int runStats(CliArgs& args, std::ostream& out, std::ostream& err);

}  // namespace tevusb::cli
