// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <filesystem>

namespace tevusb::app {

// The name of the flight the window shows, as the library names it for an archived flight
// ("Nova / H128, 2026-12-06, set 2"), "flight.tev, set 2" for a plain file, and
// "Downloaded flight, set 2" for a set straight from the altimeter (no file).
QString shownFlightName(const std::filesystem::path& file, int setIndex);

// The library's name of `file`, or empty when it is not an archived flight.
QString libraryFlightName(const std::filesystem::path& file);

}  // namespace tevusb::app
