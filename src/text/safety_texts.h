// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string_view>

namespace tevusb::text {

// Sentences both fronts add after the program's own texts where a slip can set off a charge or
// lose a flight, so the window and tevusb-cli always say the same.

// After the question that asks to fire the lines.
inline constexpr std::string_view kFireHint =
    "Both ejection lines will be energised for 2 seconds. Charges or igniters connected to "
    "them will fire.";
// After the invitation to connect the battery for a launch emulation (string 113).
inline constexpr std::string_view kEmulateHint =
    "Remove all charges and igniters from the ejection lines before a real-time launch.";

// How the status lines name the library that flights went to: the flyer's own, or the
// separate one the simulated altimeter's made-up flights go to.
constexpr std::string_view libraryName(bool simulator) {
    return simulator ? "the simulator's flight library" : "the flight library";
}

// The simulated altimeter's library: a folder inside the one that would otherwise be used,
// so its flights never sit beside real ones. Empty stays empty (no library at all).
inline std::filesystem::path simulatorLibraryFolder(const std::filesystem::path& usual) {
    return usual.empty() ? usual : usual / "simulator";
}

}  // namespace tevusb::text
