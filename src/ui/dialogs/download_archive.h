// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "library/flight_library.h"

namespace tevusb::device {
class AltimeterDevice;
}

namespace tevusb::ui {

class LibraryService;

// Puts every set of the download that has just ended into the program's flight library,
// with the settings image and firmware version read from the device, and returns the
// status line that says where they went. Empty when the program keeps no library or the
// download brought no set. Runs on the download worker, which owns the store.
std::string archiveDownload(const device::AltimeterDevice& device, LibraryService& service);

// The status line for the outcomes of one download (one per set) in `folder`, named as the
// simulator's library when `simulatorLibrary`.
std::string archiveStatusLine(const std::vector<library::ItemOutcome>& outcomes,
                              const std::string& folder, bool simulatorLibrary = false);

}  // namespace tevusb::ui
