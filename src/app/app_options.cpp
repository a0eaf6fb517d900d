// SPDX-License-Identifier: MIT
#include "app/app_options.h"

#include <string_view>

#include "library/library_location.h"
#include "tevusb_version.h"
#include "text/safety_texts.h"

namespace tevusb::app {

namespace {
constexpr std::string_view kSimulatorOption = "--simulator";
constexpr std::string_view kVerboseOption = "--verbose";
constexpr std::string_view kLibraryOption = "--library";
constexpr std::string_view kHelpOption = "--help";
constexpr std::string_view kShortHelpOption = "-h";
constexpr std::string_view kVersionOption = "--version";
// Everything after it is a file name, also when it starts with a dash.
constexpr std::string_view kEndOfOptions = "--";
constexpr std::string_view kShortUsage =
    "(usage: tevusb [--simulator] [--verbose] [--library DIR] [FILE.tev])";

bool fail(std::string* error, const std::string& message) {
    if (error != nullptr) {
        *error = "tevusb: " + message + " " + std::string(kShortUsage);
    }
    return false;
}

// Sets the switch named by `word`; false when it is none of them.
bool takeSwitch(AppOptions& options, std::string_view word) {
    if (word == kSimulatorOption) {
        options.simulator = true;
    } else if (word == kVerboseOption) {
        options.verbose = true;
    } else if (word == kHelpOption || word == kShortHelpOption) {
        options.help = true;
    } else if (word == kVersionOption) {
        options.version = true;
    } else {
        return false;
    }
    return true;
}
}  // namespace

std::optional<AppOptions> parseAppOptions(const std::vector<std::string>& words,
                                          std::string* error) {
    AppOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const bool looksLikeOption = !optionsEnded && !word.empty() && word.front() == '-';
        if (looksLikeOption && takeSwitch(options, word)) {
            continue;
        }
        if (looksLikeOption && word == kEndOfOptions) {
            optionsEnded = true;
            continue;
        }
        const std::string joinedPrefix = std::string(kLibraryOption) + "=";
        if (looksLikeOption && (word == kLibraryOption || word.rfind(joinedPrefix, 0) == 0)) {
            const bool joined = word != kLibraryOption;
            const bool given = joined || (i + 1 < words.size() && !words[i + 1].empty());
            std::string folder = !given   ? std::string()
                                 : joined ? word.substr(joinedPrefix.size())
                                          : words[++i];
            if (folder.empty()) {
                fail(error, "--library needs a folder");
                return std::nullopt;
            }
            options.library = std::move(folder);
            continue;
        }
        if (looksLikeOption || word.empty()) {
            fail(error, "unknown option '" + word + "'");
            return std::nullopt;
        }
        if (!options.file.empty()) {
            fail(error, "one file at a time, '" + word + "' is a second one");
            return std::nullopt;
        }
        options.file = word;
    }
    return options;
}

AppOptions scanRawOptions(int argc, const char* const* argv) {
    AppOptions options;
    for (int i = 1; i < argc && argv[i] != nullptr; ++i) {
        const std::string_view word = argv[i];
        if (word == kEndOfOptions) {
            break;
        }
        if (word == kLibraryOption) {
            ++i;  // its folder may be named like an option
            continue;
        }
        takeSwitch(options, word);
    }
    return options;
}

bool wantsSimulator(int argc, const char* const* argv) {
    return scanRawOptions(argc, argv).simulator;
}

LibraryChoice chooseLibrary(const AppOptions& options) {
    const std::filesystem::path usual = library::resolveLibraryFolder(options.library);
    if (!options.simulator || options.library) {
        return {usual, false};
    }
    return {text::simulatorLibraryFolder(usual), true};
}

std::string usageText() {
    return "Usage: tevusb [--simulator] [--verbose] [--library DIR] [FILE.tev]\n"
           "The desktop companion of the TEV USB flight altimeter.\n\n"
           "Options:\n"
           "  FILE.tev       open this data-set file, as File > Open does\n"
           "  --library DIR  keep the flight library in DIR\n"
           "  --simulator    talk to the built-in simulated altimeter instead of a real one;\n"
           "                 its flights go to the library's simulator/ folder, not to yours\n"
           "                 (unless --library is given)\n"
           "  --verbose      write the diagnostic lines also when standard output is the\n"
           "                 system journal (as does TEVUSB_VERBOSE=1 in the environment)\n"
           "  --help         show this text\n"
           "  --version      show the program's version\n";
}

std::string versionText() {
    return std::string("tevusb ") + kVersion + "\n";
}

}  // namespace tevusb::app
