#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tevusb::app {

// What the command line asks for. The program has one option: --simulator, which puts the
// built-in simulated altimeter in place of the USB bus.
struct AppOptions {
    bool simulator = false;
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
