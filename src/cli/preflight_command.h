// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>

#include "cli/cli_args.h"

namespace tevusb::cli {

// `preflight --profile NAME [--json]`: kOk for go (warnings allowed), kNoGo for no-go,
// kFailed when the check could not be made, kUsage for a wrong command line. The check is
// recorded in the library.
int runPreflight(CliArgs& args, std::ostream& out, std::ostream& err);

}  // namespace tevusb::cli
