// SPDX-License-Identifier: MIT
#include "library/library_location.h"

#include <cstdlib>

#include "data/utf8_path.h"

#if defined(_WIN32)
#include <cwchar>
#endif

namespace tevusb::library {

namespace {
[[maybe_unused]] std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::string(value);
}

#if defined(_WIN32)
// Read wide: a user name outside the ANSI code page is part of %LOCALAPPDATA%.
std::optional<std::filesystem::path> widePath(const wchar_t* name) {
    const wchar_t* value = ::_wgetenv(name);
    if (value == nullptr || *value == L'\0') {
        return std::nullopt;
    }
    return std::filesystem::path(value);
}
#endif

}  // namespace

std::filesystem::path resolveLibraryFolder(const std::optional<std::string>& option) {
    if (option && !option->empty()) {
        return data::utf8ToPath(*option);
    }
#if defined(_WIN32)
    if (const auto chosen = widePath(L"TEVUSB_LIBRARY")) {
        return *chosen;
    }
    // Flights belong to this user on this machine: the local, not the roaming, profile.
    if (const auto local = widePath(L"LOCALAPPDATA"); local && local->is_absolute()) {
        return *local / "tevusb";
    }
    return {};
#else
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
#endif
}

}  // namespace tevusb::library
