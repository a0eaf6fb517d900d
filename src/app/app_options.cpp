#include "app/app_options.h"

#include <string_view>

namespace tevusb::app {

namespace {
constexpr std::string_view kSimulatorOption = "--simulator";
}

std::optional<AppOptions> parseAppOptions(const std::vector<std::string>& words,
                                          std::string* error) {
    AppOptions options;
    for (const std::string& word : words) {
        if (word == kSimulatorOption) {
            options.simulator = true;
            continue;
        }
        if (error != nullptr) {
            *error = "tevusb: unknown option '" + word + "' (usage: tevusb [--simulator])";
        }
        return std::nullopt;
    }
    return options;
}

bool wantsSimulator(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i] != nullptr && argv[i] == kSimulatorOption) {
            return true;
        }
    }
    return false;
}

}  // namespace tevusb::app
