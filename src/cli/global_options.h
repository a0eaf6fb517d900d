// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tevusb::cli {

// The options every tevusb-cli command accepts, read off the command line in order, the
// command word and the words left for the command.
struct GlobalOptions {
    bool help = false;
    bool version = false;
    bool verbose = false;
    bool simulator = false;
    bool simulatorBootloader = false;
    std::optional<std::string> library;
    std::optional<std::string> command;
    std::vector<std::string> words;  // the command's own words, in order
    std::string error;               // what is wrong with the line; empty when nothing is
};

// Before the command word only global options may stand. After it a global option is
// still recognised, except where it is the value of the command's option just before it:
// in `report f.tev --rocket --simulator` the rocket is called "--simulator".
GlobalOptions parseGlobalOptions(const std::vector<std::string>& words);

}  // namespace tevusb::cli
