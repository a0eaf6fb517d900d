// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_args.h"
#include "support/log_capture.h"

namespace tevusb::testing {

// What one tevusb-cli command printed and answered.
struct CliRun {
    int status;
    std::string out;
    std::string err;
};

using CliCommand = int (*)(cli::CliArgs&, std::ostream&, std::ostream&);

// Runs `command` on `words` as the program's main would, with the diagnostic lines kept
// out of the test's output.
inline CliRun runCli(CliCommand command, std::vector<std::string> words) {
    LogCapture quiet;
    cli::CliArgs args(std::move(words));
    std::ostringstream out, err;
    const int status = command(args, out, err);
    return {status, out.str(), err.str()};
}

inline bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace tevusb::testing
