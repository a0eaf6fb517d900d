#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tevusb::app {

// What the command line asks for: --simulator puts the built-in simulated altimeter in
// place of the USB bus; --library DIR (or --library=DIR) keeps the flight library there.
struct AppOptions {
    bool simulator = false;
    std::optional<std::string> library;
};

// The options of `words` (the arguments after the program name, with the toolkit's own
// options already taken out). Empty when a word is not an option of the program; `error`
// then receives a one-line message for the user.
std::optional<AppOptions> parseAppOptions(const std::vector<std::string>& words,
                                          std::string* error = nullptr);

// True when the raw command line asks for the simulator. Read before the toolkit starts,
// because the real USB access must be initialised before any thread exists.
bool wantsSimulator(int argc, const char* const* argv);

}  // namespace tevusb::app
