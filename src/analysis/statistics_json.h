// SPDX-License-Identifier: MIT
#pragma once

#include <nlohmann/json.hpp>

#include "analysis/flight_statistics.h"

namespace tevusb::analysis {

// The statistics of one set as a JSON object, always in SI units whatever the display
// units: set, readings, duration_s, ground_msl_m, apogee {time_s, agl_m, msl_m},
// max_velocity {time_s, ms}, max_acceleration {time_s, ms2}, launch_time_s,
// burnout_time_s, landing_time_s, line_a / line_b {time_s, agl_m, samples},
// descent {drogue_ms, main_ms}, flags [names], in that order. A value that does not
// exist is null.
nlohmann::ordered_json statisticsJson(const FlightStatistics& stats);

}  // namespace tevusb::analysis
