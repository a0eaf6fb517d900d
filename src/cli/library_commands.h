// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>

#include "cli/cli_args.h"

namespace tevusb::cli {

// tevusb-cli library list|show|export|import|edit|report|delete|rebuild …: the flight
// library in the folder of --library (else TEVUSB_LIBRARY, else the XDG data folder). Exit
// status 0 on success, 1 when the library or a file failed (the reason on standard error),
// 2 for a wrong command line. `report` hands over to the report program and returns only
// when it cannot do so.
int runLibrary(CliArgs& args, std::ostream& out, std::ostream& err);

}  // namespace tevusb::cli
