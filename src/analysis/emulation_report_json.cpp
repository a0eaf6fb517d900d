// SPDX-License-Identifier: MIT
#include "analysis/emulation_report_json.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "analysis/emulation_report_text.h"

namespace tevusb::analysis {

namespace {

// Keys keep the order they are written in, so the object reads top-down.
using json = nlohmann::ordered_json;

// Full precision, as every JSON output of the program gives it: a reader rounds for
// display, never the file. A value that is not finite has no JSON number: null.
json number(double v) {
    return std::isfinite(v) ? json(v) : json(nullptr);
}

json optional(const std::optional<double>& v) {
    return v ? number(*v) : json(nullptr);
}

const char* verdictKey(Verdict v) {
    switch (v) {
        case Verdict::Pass:
            return "pass";
        case Verdict::Check:
            return "check";
        case Verdict::Fail:
            return "fail";
    }
    return "";
}

const char* findingName(LineVerdict v) {
    switch (v) {
        case LineVerdict::FiredAsSet:
            return "fired_as_set";
        case LineVerdict::FiredAway:
            return "fired_away";
        case LineVerdict::DidNotFire:
            return "did_not_fire";
        case LineVerdict::NotSetToFire:
            return "not_set_to_fire";
        case LineVerdict::FiredUnjudged:
            return "fired_unjudged";
    }
    return "";
}

const char* endName(EmulationEnd end) {
    switch (end) {
        case EmulationEnd::EndOfLaunch:
            return "end_of_launch";
        case EmulationEnd::UnknownCode:
            return "unknown_code";
        case EmulationEnd::DataRanOut:
            return "data_ran_out";
        case EmulationEnd::Cancelled:
            return "cancelled";
        case EmulationEnd::Failed:
            return "failed";
    }
    return "";
}

json lineJson(const LineReport& line) {
    json j;
    j["mode"] = settings::lineModeKey(line.rawMode);
    switch (line.mode) {
        case settings::LineMode::Time:
            j["value"] = number(line.value / 10.0);
            j["value_unit"] = "s";
            break;
        case settings::LineMode::Altitude:
            j["value"] = line.value;
            j["value_unit"] = "m";
            break;
        default:
            j["value"] = nullptr;
            j["value_unit"] = nullptr;
            break;
    }
    j["verdict"] = verdictKey(verdictOf(line));
    j["finding"] = findingName(line.verdict);
    j["finding_text"] = lineVerdictText(line, UnitSystem::Metric);
    j["time_s"] = line.fired ? number(line.fired->timeS) : json(nullptr);
    j["agl_m"] = line.fired ? number(line.fired->aglM) : json(nullptr);
    j["offset"] = optional(line.offset);
    j["offset_unit"] = !line.offset                                ? json(nullptr)
                       : line.mode == settings::LineMode::Altitude ? json("m")
                                                                   : json("s");
    j["inside_inhibit"] = line.insideInhibit;
    j["recorded_time_s"] = line.recorded ? number(line.recorded->at.timeS) : json(nullptr);
    j["recorded_agl_m"] = line.recorded ? number(line.recorded->at.aglM) : json(nullptr);
    return j;
}

}  // namespace

std::string emulationReportJson(const EmulationReport& report, int indent) {
    json events = json::array();
    for (const PlacedEvent& e : report.events) {
        json j;
        j["code"] = e.code;
        j["name"] = emulationCodeName(e.code);
        j["sample"] = e.at ? json(e.at->sample) : json(nullptr);
        j["time_s"] = e.at ? number(e.at->timeS) : json(nullptr);
        j["agl_m"] = e.at ? number(e.at->aglM) : json(nullptr);
        events.push_back(std::move(j));
    }
    json out;
    out["set"] = report.statistics.setIndex;
    out["verdict"] = verdictKey(overallVerdict(report));
    out["events"] = std::move(events);
    out["lines"] = {{"a", lineJson(report.lineA)}, {"b", lineJson(report.lineB)}};
    out["apogee_delay_s"] = optional(report.apogeeDelayS);
    out["launch_delay_s"] = optional(report.launchDelayS);
    out["inhibit_s"] = number(report.inhibitTime / 10.0);
    out["settings_source"] = report.settingsFromDevice ? "device" : "file";
    out["end"] = endName(report.end);
    out["tolerances"] = {{"time_s", kTimeToleranceS},
                         {"apogee_early_s", kApogeeEarlyToleranceS},
                         {"apogee_late_s", kApogeeLateToleranceS},
                         {"altitude_m", kAltitudeToleranceM}};
    return out.dump(indent);
}

}  // namespace tevusb::analysis
