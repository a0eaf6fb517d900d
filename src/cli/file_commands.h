#pragma once

#include <ostream>

#include "cli/cli_args.h"

namespace tevusb::cli {

// tevusb-cli show FILE.tev
int runShow(CliArgs& args, std::ostream& out, std::ostream& err);
// tevusb-cli export FILE.tev (--csv OUT.csv | --xml OUT.xml) [--set K]
int runExport(CliArgs& args, std::ostream& out, std::ostream& err);

}  // namespace tevusb::cli
