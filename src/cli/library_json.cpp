// SPDX-License-Identifier: MIT
#include "cli/library_json.h"
#include "library/flight_name.h"

#include <nlohmann/json.hpp>

namespace tevusb::cli {

namespace {

nlohmann::json optional(const std::optional<double>& value) {
    return value ? nlohmann::json(*value) : nlohmann::json(nullptr);
}

nlohmann::json toJson(const library::FlightRecord& r) {
    return {
        {"id", r.id},
        {"downloaded_at", r.downloadedAt},
        {"firmware_version", r.firmwareVersion},
        {"set", r.setNumber},
        {"name", library::flightName(r)},
        {"flight_date", library::flightDay(r)},
        {"readings", r.readings},
        {"duration_s", r.durationS},
        {"apogee_agl_m", optional(r.apogeeAglM)},
        {"apogee_msl_m", optional(r.apogeeMslM)},
        {"apogee_time_s", optional(r.apogeeTimeS)},
        {"peak_velocity_ms", optional(r.peakVelocityMs)},
        {"peak_velocity_time_s", optional(r.peakVelocityTimeS)},
        {"line_a_time_s", optional(r.lineATimeS)},
        {"line_a_altitude_m", optional(r.lineAAltitudeM)},
        {"line_b_time_s", optional(r.lineBTimeS)},
        {"line_b_altitude_m", optional(r.lineBAltitudeM)},
        {"drogue_rate_ms", optional(r.drogueRateMs)},
        {"main_rate_ms", optional(r.mainRateMs)},
        {"launch_time_s", optional(r.launchTimeS)},
        {"landing_time_s", optional(r.landingTimeS)},
        {"comment", r.comment},
        {"rocket", r.rocket},
        {"motor", r.motor},
        {"site", r.site},
        {"notes", r.notes},
        {"archive_path", r.archivePath},
        {"hash", r.hash},
    };
}

}  // namespace

std::string flightsJson(const std::vector<library::FlightRecord>& records) {
    nlohmann::json array = nlohmann::json::array();
    for (const auto& r : records) {
        array.push_back(toJson(r));
    }
    return array.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace tevusb::cli
