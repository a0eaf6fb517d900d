// SPDX-License-Identifier: MIT
#include "cli/global_options.h"

#include <algorithm>
#include <map>
#include <string_view>

namespace tevusb::cli {

namespace {

using Names = std::vector<std::string_view>;

// The options of each command whose value is the next word, whatever that word looks
// like. A command's new option with a value belongs here, or a global flag could take
// its place. The library's subcommands share one list: none of them has a flag named
// like another's valued option.
const std::map<std::string_view, Names>& valueOptions() {
    static const std::map<std::string_view, Names> table = {
        {"show", {"--units"}},
        {"stats", {"--units", "--set", "--sim", "--sim-name", "--mass", "--diameter"}},
        {"sim", {"--units"}},
        {"export", {"--csv", "--xml", "--set"}},
        {"report",
         {"--set", "--pdf", "--png", "--svg", "--units", "--size", "--view", "--rocket", "--motor",
          "--site", "--date", "--comment"}},
        {"download", {"--out"}},
        {"settings", {"--line-a", "--line-b", "--inhibit", "--rocket"}},
        {"calibrate", {"--ground"}},
        {"emulate", {"--set", "--units"}},
        {"library",
         {"--units", "--filter", "--sort", "--tev", "--csv", "--xml", "--pdf", "--png", "--svg",
          "--size", "--view", "--rocket", "--motor", "--site", "--notes", "--comment"}},
        {"profile",
         {"--line-a", "--line-b", "--inhibit", "--min-battery", "--expected-apogee", "--notes"}},
        {"preflight", {"--profile"}},
    };
    return table;
}

bool takesValue(std::string_view command, std::string_view word) {
    const auto it = valueOptions().find(command);
    return it != valueOptions().end() &&
           std::find(it->second.begin(), it->second.end(), word) != it->second.end();
}

constexpr std::string_view kLibrary = "--library";

// Takes the word at `i` when it is a global option; false when it is not one.
bool takeGlobal(const std::vector<std::string>& words, std::size_t& i, GlobalOptions& g) {
    const std::string& w = words[i];
    if (w == "--help") {
        g.help = true;
    } else if (w == "--version") {
        g.version = true;
    } else if (w == "--verbose") {
        g.verbose = true;
    } else if (w == "--simulator") {
        g.simulator = true;
    } else if (w == "--simulator-bootloader") {
        g.simulatorBootloader = true;
    } else if (w.size() > kLibrary.size() && w.compare(0, kLibrary.size(), kLibrary) == 0 &&
               w[kLibrary.size()] == '=') {
        g.library = w.substr(kLibrary.size() + 1);
    } else if (w == kLibrary) {
        if (i + 1 == words.size()) {
            g.error = "--library needs a folder.";
        } else {
            g.library = words[++i];
        }
    } else {
        return false;
    }
    return true;
}

}  // namespace

GlobalOptions parseGlobalOptions(const std::vector<std::string>& words) {
    GlobalOptions g;
    std::size_t i = 0;
    for (; i < words.size() && !g.command; ++i) {
        if (takeGlobal(words, i, g)) {
            continue;
        }
        if (words[i].rfind("--", 0) == 0) {
            if (g.error.empty()) {
                g.error = "Unknown option: " + words[i];
            }
            continue;
        }
        g.command = words[i];
    }
    for (; i < words.size(); ++i) {
        if (takeGlobal(words, i, g)) {
            continue;
        }
        g.words.push_back(words[i]);
        if (takesValue(*g.command, words[i]) && i + 1 < words.size()) {
            g.words.push_back(words[++i]);
        }
    }
    return g;
}

}  // namespace tevusb::cli
