// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>

#include "cli/cli_args.h"

namespace tevusb::cli {

// tevusb-cli show FILE.tev [--units metric|imperial]: what the file holds, then the
// statistics of its first set.
int runShow(CliArgs& args, std::ostream& out, std::ostream& err);
// tevusb-cli export FILE.tev (--csv OUT.csv | --xml OUT.xml) [--set K]
int runExport(CliArgs& args, std::ostream& out, std::ostream& err);

}  // namespace tevusb::cli
