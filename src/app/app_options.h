// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tevusb::app {

// What the command line asks for:
//   tevusb [--simulator] [--verbose] [--library DIR] [FILE.tev]
// --simulator puts the built-in simulated altimeter in place of the USB bus.
struct AppOptions {
    bool simulator = false;
    // Diagnostic lines also when standard output is the system journal.
    bool verbose = false;
    bool help = false;
    bool version = false;
    // The flight library folder asked for with --library DIR or --library=DIR.
    std::optional<std::string> library;
    // A data-set file to open once the window is up; empty when none was given.
    std::string file;
};

// The options of `words` (the arguments after the program name, with the toolkit's own
// options already taken out). Empty when a word is not an option of the program; `error`
// then receives a one-line message for the user.
std::optional<AppOptions> parseAppOptions(const std::vector<std::string>& words,
                                          std::string* error = nullptr);

// The switches of the raw command line, read before the toolkit starts (it may not start
// at all without a display, and the real USB access must be initialised before any thread
// exists). Words the toolkit owns are passed over; only help, version, simulator and
// verbose are filled in.
AppOptions scanRawOptions(int argc, const char* const* argv);

// True when the raw command line asks for the simulator.
bool wantsSimulator(int argc, const char* const* argv);

// Where this run keeps its flight library: --library DIR as given; else the usual folder
// ($TEVUSB_LIBRARY or the XDG one), or with --simulator the "simulator" folder inside it,
// so made-up flights never sit beside real ones.
struct LibraryChoice {
    std::filesystem::path folder;
    bool simulator = false;  // the simulated altimeter's own library
};
LibraryChoice chooseLibrary(const AppOptions& options);

// The texts of --help and --version, each ending in a line feed.
std::string usageText();
std::string versionText();

}  // namespace tevusb::app
