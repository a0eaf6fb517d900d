// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "library/flight_library.h"
#include "settings/rocket_profile.h"

namespace tevusb::library {

// The rocket profiles kept in the library's index, by name (compared ignoring case, as the
// rocket names of the flights are). Each call is one transaction; the library must be open.

// Every profile, by name.
std::vector<settings::RocketProfile> listProfiles(const FlightLibrary& library,
                                                  Outcome* outcome = nullptr);
// One profile; NotFound (with the name in the message) when there is none of that name.
std::optional<settings::RocketProfile> findProfile(const FlightLibrary& library,
                                                   const std::string& name,
                                                   Outcome* outcome = nullptr);
// Creates or replaces the profile of that name. A profile with a problem is refused
// (BadFile, with the sentence of settings::profileProblem).
Outcome saveProfile(const FlightLibrary& library, const settings::RocketProfile& profile);
// Renames; NotFound when `from` is absent, Duplicate when `to` is another profile's name.
Outcome renameProfile(const FlightLibrary& library, const std::string& from, const std::string& to);
Outcome deleteProfile(const FlightLibrary& library, const std::string& name);

}  // namespace tevusb::library
