#include "app/app_options.h"

#include <string_view>

namespace tevusb::app {

namespace {
constexpr std::string_view kSimulatorOption = "--simulator";
constexpr std::string_view kLibraryOption = "--library";
constexpr std::string_view kUsage = " (usage: tevusb [--simulator] [--library DIR])";
}  // namespace

std::optional<AppOptions> parseAppOptions(const std::vector<std::string>& words,
                                          std::string* error) {
    AppOptions options;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == kSimulatorOption) {
            options.simulator = true;
            continue;
        }
        const std::string prefix = std::string(kLibraryOption) + "=";
        if (word == kLibraryOption || word.rfind(prefix, 0) == 0) {
            const bool joined = word != kLibraryOption;
            if (!joined && i + 1 >= words.size()) {
                if (error != nullptr) {
                    *error = "tevusb: --library needs a folder" + std::string(kUsage);
                }
                return std::nullopt;
            }
            std::string folder = joined ? word.substr(prefix.size()) : words[++i];
            if (folder.empty()) {
                if (error != nullptr) {
                    *error = "tevusb: --library needs a folder" + std::string(kUsage);
                }
                return std::nullopt;
            }
            options.library = std::move(folder);
            continue;
        }
        if (error != nullptr) {
            *error = "tevusb: unknown option '" + word + "'" + std::string(kUsage);
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
