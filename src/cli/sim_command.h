// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>

#include "cli/cli_args.h"

namespace tevusb::cli {

// tevusb-cli sim FILE [--units metric|imperial] [--json]
// The simulations in a simulator's file (design file or CSV export), in file order;
// --json: an array of objects in SI units. A file without a usable simulation exits 1
// with one line on err and nothing on out.
int runSim(CliArgs& args, std::ostream& out, std::ostream& err);

}  // namespace tevusb::cli
