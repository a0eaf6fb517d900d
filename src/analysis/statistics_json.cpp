// SPDX-License-Identifier: MIT
#include "analysis/statistics_json.h"

#include <optional>

namespace tevusb::analysis {

namespace {

using json = nlohmann::ordered_json;

json orNull(const std::optional<double>& v) {
    return v ? json(*v) : json(nullptr);
}

json lineJson(const std::optional<LineEvent>& line) {
    if (!line) {
        return nullptr;
    }
    return {{"time_s", line->at.timeS}, {"agl_m", line->at.aglM}, {"samples", line->samples}};
}

json flagNames(unsigned flags) {
    static const std::pair<unsigned, const char*> kNames[] = {
        {kNoReadings, "no_readings"}, {kTooShort, "too_short"},   {kFlatData, "flat_data"},
        {kNoLaunch, "no_launch"},     {kNoLanding, "no_landing"},
    };
    json names = json::array();
    for (const auto& [flag, name] : kNames) {
        if ((flags & flag) != 0) {
            names.push_back(name);
        }
    }
    return names;
}

}  // namespace

json statisticsJson(const FlightStatistics& s) {
    json j;
    j["set"] = s.setIndex;
    j["readings"] = s.readings;
    j["duration_s"] = s.durationS;
    j["ground_msl_m"] = s.groundKnown ? json(s.groundMslM) : json(nullptr);
    j["apogee"] =
        s.apogee
            ? json{{"time_s", s.apogee->timeS}, {"agl_m", s.apogee->aglM}, {"msl_m", s.apogeeMslM}}
            : json(nullptr);
    j["max_velocity"] =
        s.maxVelocity ? json{{"time_s", s.maxVelocity->timeS}, {"ms", s.maxVelocity->velocityMs}}
                      : json(nullptr);
    j["max_acceleration"] = s.maxAcceleration ? json{{"time_s", s.maxAcceleration->timeS},
                                                     {"ms2", s.maxAccelerationMs2}}
                                              : json(nullptr);
    j["launch_time_s"] = orNull(s.launchTimeS);
    j["burnout_time_s"] = orNull(s.burnoutTimeS);
    j["landing_time_s"] = orNull(s.landingTimeS);
    j["line_a"] = lineJson(s.lineA);
    j["line_b"] = lineJson(s.lineB);
    j["descent"] = {{"drogue_ms", orNull(s.drogueRateMs)}, {"main_ms", orNull(s.mainRateMs)}};
    j["flags"] = flagNames(s.flags);
    return j;
}

}  // namespace tevusb::analysis
