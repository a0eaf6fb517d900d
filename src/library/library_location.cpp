// SPDX-License-Identifier: MIT
#include "library/library_location.h"

#include <cstdlib>

namespace tevusb::library {

namespace {
std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::string(value);
}
}  // namespace

std::filesystem::path resolveLibraryFolder(const std::optional<std::string>& option) {
    if (option && !option->empty()) {
        return *option;
    }
    if (const auto chosen = environment("TEVUSB_LIBRARY")) {
        return *chosen;
    }
    // The XDG rules ignore a relative XDG_DATA_HOME.
    if (const auto xdg = environment("XDG_DATA_HOME");
        xdg && std::filesystem::path(*xdg).is_absolute()) {
        return std::filesystem::path(*xdg) / "tevusb";
    }
    if (const auto home = environment("HOME")) {
        return std::filesystem::path(*home) / ".local" / "share" / "tevusb";
    }
    return {};
}

}  // namespace tevusb::library
