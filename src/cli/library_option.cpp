// SPDX-License-Identifier: MIT
#include "cli/library_option.h"

#include "library/library_location.h"

namespace tevusb::cli {

namespace {
std::optional<std::string>& option() {
    static std::optional<std::string> chosen;
    return chosen;
}
}  // namespace

void setLibraryOption(std::optional<std::string> folder) {
    option() = std::move(folder);
}

std::filesystem::path libraryFolder() {
    return library::resolveLibraryFolder(option());
}

}  // namespace tevusb::cli
