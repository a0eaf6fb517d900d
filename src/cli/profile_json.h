// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "data/preflight_report.h"
#include "settings/rocket_profile.h"

namespace tevusb::cli {

// A rocket profile as JSON: name, line_a and line_b {mode, value} (seconds or metres; null
// where the mode uses none), inhibit_s, min_battery_v, expected_apogee_m, notes.
std::string profileJson(const settings::RocketProfile& profile, int indent = 2);
std::string profilesJson(const std::vector<settings::RocketProfile>& profiles);

// A pre-flight check as JSON: verdict, profile, items [{name, status, text}], battery_v,
// ground_msl_m, flights_on_device, flights_not_in_library, memory_packets_used, memory_full.
std::string preflightJson(const data::PreflightReport& report);

}  // namespace tevusb::cli
