// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>

#include "cli/cli_args.h"

namespace tevusb::cli {

// `profile list|show|set|from-device|delete|apply`: the rocket profiles in the library, and
// writing one to the altimeter. Exit statuses of cli/exit_code.h.
int runProfile(CliArgs& args, std::ostream& out, std::ostream& err);

}  // namespace tevusb::cli
