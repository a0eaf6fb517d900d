// SPDX-License-Identifier: MIT
#include "cli/library_option.h"

#include "library/library_location.h"
#include "text/safety_texts.h"

namespace tevusb::cli {

namespace {
std::optional<std::string>& option() {
    static std::optional<std::string> chosen;
    return chosen;
}
bool& simulator() {
    static bool on = false;
    return on;
}
}  // namespace

void setLibraryOption(std::optional<std::string> folder) {
    option() = std::move(folder);
}

void setSimulatorLibrary(bool on) {
    simulator() = on;
}

bool simulatorLibrary() {
    // A folder the flyer named is used as given, also for simulated flights.
    return simulator() && (!option() || option()->empty());
}

std::filesystem::path libraryFolder() {
    const std::filesystem::path usual = library::resolveLibraryFolder(option());
    return simulatorLibrary() ? text::simulatorLibraryFolder(usual) : usual;
}

}  // namespace tevusb::cli
