// SPDX-License-Identifier: MIT
#include "cli/profile_json.h"

#include <nlohmann/json.hpp>

namespace tevusb::cli {

namespace {

using nlohmann::ordered_json;

ordered_json lineJson(const settings::ProfileLine& line) {
    ordered_json value = nullptr;
    if (line.value && settings::modeUsesValue(line.mode)) {
        value = line.mode == static_cast<std::uint8_t>(settings::LineMode::Time)
                    ? ordered_json(*line.value / 10.0)
                    : ordered_json(*line.value);
    }
    return {{"mode", settings::lineModeKey(line.mode)}, {"value", value}};
}

ordered_json optional(const std::optional<double>& v) {
    return v ? ordered_json(*v) : ordered_json(nullptr);
}

ordered_json profileObject(const settings::RocketProfile& p) {
    return {{"name", p.name},
            {"line_a", lineJson(p.lineA)},
            {"line_b", lineJson(p.lineB)},
            {"inhibit_s", p.inhibitTime / 10.0},
            {"min_battery_v", p.minBatteryV},
            {"expected_apogee_m", optional(p.expectedApogeeM)},
            {"notes", p.notes}};
}

}  // namespace

std::string profileJson(const settings::RocketProfile& profile, int indent) {
    return profileObject(profile).dump(indent, ' ', false, ordered_json::error_handler_t::replace);
}

std::string profilesJson(const std::vector<settings::RocketProfile>& profiles) {
    ordered_json list = ordered_json::array();
    for (const auto& p : profiles) {
        list.push_back(profileObject(p));
    }
    return list.dump(2, ' ', false, ordered_json::error_handler_t::replace);
}

std::string preflightJson(const data::PreflightReport& r) {
    ordered_json items = ordered_json::array();
    for (const data::PreflightItem& item : r.items) {
        items.push_back({{"name", item.name},
                         {"status", std::string(data::checkStatusName(item.status))},
                         {"text", item.text}});
    }
    const ordered_json json = {{"verdict", std::string(data::verdictName(r.go()))},
                               {"profile", r.profile},
                               {"items", items},
                               {"battery_v", optional(r.batteryV)},
                               {"ground_msl_m", optional(r.groundMslM)},
                               {"flights_on_device", r.flightsOnDevice},
                               {"flights_not_in_library", r.flightsNotInLibrary},
                               {"memory_packets_used", r.memoryPacketsUsed},
                               {"memory_full", r.memoryFull}};
    // Text a flyer typed may hold anything; replace what is not UTF-8 rather than throw.
    return json.dump(2, ' ', false, ordered_json::error_handler_t::replace);
}

}  // namespace tevusb::cli
