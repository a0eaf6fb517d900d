// SPDX-License-Identifier: MIT
#include "analysis/emulation_report.h"

#include <algorithm>
#include <cmath>

namespace tevusb::analysis {

namespace {

bool isCode(const EmulationReply& reply, EmulationCode code) {
    return reply.code == static_cast<int>(code);
}

bool knownCode(int code) {
    return (code >= static_cast<int>(EmulationCode::LaunchDetected) &&
            code <= static_cast<int>(EmulationCode::ApogeeDetected)) ||
           code == static_cast<int>(EmulationCode::EndOfLaunch);
}

// The first reply with `code`: a flight logic that repeats itself fired only once.
std::optional<PlacedEvent> firstEvent(const std::vector<PlacedEvent>& events, EmulationCode code) {
    for (const PlacedEvent& e : events) {
        if (e.code == static_cast<int>(code)) {
            return e;
        }
    }
    return std::nullopt;
}

EmulationEnd endOf(const EmulationRun& run) {
    if (!run.succeeded) {
        return EmulationEnd::Failed;
    }
    const bool sawEnd =
        !run.replies.empty() && (isCode(run.replies.back(), EmulationCode::EndOfLaunch) ||
                                 !knownCode(run.replies.back().code));
    if (run.cancelled && !sawEnd) {
        return EmulationEnd::Cancelled;
    }
    if (!sawEnd) {
        return EmulationEnd::DataRanOut;
    }
    return isCode(run.replies.back(), EmulationCode::EndOfLaunch) ? EmulationEnd::EndOfLaunch
                                                                  : EmulationEnd::UnknownCode;
}

settings::LineMode knownMode(std::uint8_t raw) {
    return raw <= static_cast<std::uint8_t>(settings::LineMode::Altitude)
               ? static_cast<settings::LineMode>(raw)
               : settings::LineMode::Disabled;
}

// The reference a line's firing is measured against, in the unit of its offset.
std::optional<double> targetOf(const LineReport& line, const EmulationReport& report) {
    switch (line.mode) {
        case settings::LineMode::Time:
            // The altimeter counts a Time setting from the launch it detected itself.
            if (report.launch && report.launch->at) {
                return report.launch->at->timeS + line.value / 10.0;
            }
            return std::nullopt;
        case settings::LineMode::Apogee:
            if (report.statistics.apogee) {
                return report.statistics.apogee->timeS;
            }
            return std::nullopt;
        case settings::LineMode::Altitude:
            return static_cast<double>(line.value);
        case settings::LineMode::Disabled:
            break;
    }
    return std::nullopt;
}

LineVerdict judge(const LineReport& line) {
    const double off = *line.offset;
    switch (line.mode) {
        case settings::LineMode::Time:
            return std::abs(off) <= kTimeToleranceS + 1e-9 ? LineVerdict::FiredAsSet
                                                           : LineVerdict::FiredAway;
        case settings::LineMode::Apogee:
            return off >= -kApogeeEarlyToleranceS - 1e-9 && off <= kApogeeLateToleranceS + 1e-9
                       ? LineVerdict::FiredAsSet
                       : LineVerdict::FiredAway;
        case settings::LineMode::Altitude: {
            // The sensor is read once a sample: a line can only fire on the first sample
            // past its height, up to one sample's travel from it.
            const double tolerance = std::max(altitudeTolerance(line.fired->velocityMs),
                                              kAltitudeToleranceM + line.sampleTravelM);
            return std::abs(off) <= tolerance + 1e-9 ? LineVerdict::FiredAsSet
                                                     : LineVerdict::FiredAway;
        }
        case settings::LineMode::Disabled:
            break;
    }
    return LineVerdict::NotSetToFire;
}

// The larger of the height steps into and out of `sample`.
double sampleTravel(const data::DataSet& set, int sample) {
    const auto& agl = set.altitudeAgl;
    const auto k = static_cast<std::size_t>(sample);
    double travel = 0.0;
    if (sample > 0 && k < agl.size()) {
        travel = std::abs(agl[k] - agl[k - 1]);
    }
    if (k + 1 < agl.size()) {
        travel = std::max(travel, std::abs(agl[k + 1] - agl[k]));
    }
    return travel;
}

// A line whose setting is read from the flight data (apogee, altitude) and that fired on
// the very sample the recorded flight fired it behaved as the altimeter did in the air.
bool firedAsRecorded(const LineReport& line) {
    return line.fired && line.recorded && line.fired->sample == line.recorded->at.sample &&
           (line.mode == settings::LineMode::Apogee || line.mode == settings::LineMode::Altitude);
}

LineReport lineReport(char name, std::uint8_t rawMode, std::uint16_t value,
                      const std::optional<PlacedEvent>& fired,
                      const std::optional<LineEvent>& recorded, const EmulationReport& report,
                      const data::DataSet& set) {
    LineReport line;
    line.name = name;
    line.rawMode = rawMode;
    line.mode = knownMode(rawMode);
    line.value = value;
    line.recorded = recorded;
    if (fired) {
        line.fired = fired->at;
    }
    if (line.fired) {
        line.sampleTravelM = sampleTravel(set, line.fired->sample);
    }
    if (line.fired && report.launch && report.launch->at) {
        const double sinceLaunch = line.fired->timeS - report.launch->at->timeS;
        line.insideInhibit = sinceLaunch < report.inhibitTime / 10.0 - 1e-9;
    }
    if (line.mode == settings::LineMode::Disabled) {
        line.verdict = LineVerdict::NotSetToFire;
        return line;
    }
    if (!fired) {
        line.verdict = LineVerdict::DidNotFire;
        return line;
    }
    const auto target = targetOf(line, report);
    if (!line.fired || !target) {
        line.verdict = LineVerdict::FiredUnjudged;
        return line;
    }
    line.offset = line.mode == settings::LineMode::Altitude ? line.fired->aglM - *target
                                                            : line.fired->timeS - *target;
    line.verdict = firedAsRecorded(line) ? LineVerdict::FiredAsSet : judge(line);
    return line;
}

}  // namespace

double altitudeTolerance(double velocityMs) {
    return kAltitudeToleranceM + std::abs(velocityMs) * 0.1;
}

Verdict verdictOf(const LineReport& line) {
    switch (line.verdict) {
        case LineVerdict::FiredAsSet:
            return line.insideInhibit ? Verdict::Fail : Verdict::Pass;
        case LineVerdict::FiredAway:
        case LineVerdict::FiredUnjudged:
            return line.insideInhibit ? Verdict::Fail : Verdict::Check;
        case LineVerdict::DidNotFire:
            return Verdict::Fail;
        case LineVerdict::NotSetToFire:
            return line.fired ? Verdict::Fail : Verdict::Pass;
    }
    return Verdict::Fail;
}

Verdict overallVerdict(const EmulationReport& report) {
    return std::max(verdictOf(report.lineA), verdictOf(report.lineB));
}

std::optional<FlightPoint> placeReply(const data::DataSet& set, int samplesSent) {
    const int sample = samplesSent - 1;
    if (sample < 0 || static_cast<std::size_t>(sample) >= set.altitudeAgl.size()) {
        return std::nullopt;
    }
    const auto k = static_cast<std::size_t>(sample);
    FlightPoint p;
    p.sample = sample;
    p.timeS = sample / 10.0;
    p.aglM = set.altitudeAgl[k];
    p.velocityMs = k < set.velocity.size() ? set.velocity[k] : 0.0;
    return p;
}

std::string emulationCodeName(int code) {
    switch (code) {
        case static_cast<int>(EmulationCode::LaunchDetected):
            return "Launch detected";
        case static_cast<int>(EmulationCode::LineAFired):
            return "Line A fired";
        case static_cast<int>(EmulationCode::LineBFired):
            return "Line B fired";
        case static_cast<int>(EmulationCode::ApogeeDetected):
            return "Apogee detected";
        case static_cast<int>(EmulationCode::EndOfLaunch):
            return "End of launch";
        default:
            return "Unknown code " + std::to_string(code);
    }
}

EmulationReport buildEmulationReport(const data::DataSet& set,
                                     const settings::DeviceSettings& settings,
                                     const EmulationRun& run, bool settingsFromDevice) {
    EmulationReport report;
    report.statistics = computeStatistics(set);
    report.inhibitTime = settings.inhibitTime;
    report.settingsFromDevice = settingsFromDevice;
    report.end = endOf(run);
    for (const EmulationReply& reply : run.replies) {
        report.events.push_back(
            {reply.code, reply.samplesSent, placeReply(set, reply.samplesSent)});
        report.lastSamplesSent = reply.samplesSent;
    }
    report.launch = firstEvent(report.events, EmulationCode::LaunchDetected);
    report.apogee = firstEvent(report.events, EmulationCode::ApogeeDetected);
    if (report.launch && report.launch->at && report.statistics.launchTimeS) {
        report.launchDelayS = report.launch->at->timeS - *report.statistics.launchTimeS;
    }
    if (report.apogee && report.apogee->at && report.statistics.apogee) {
        report.apogeeDelayS = report.apogee->at->timeS - report.statistics.apogee->timeS;
    }
    report.lineA = lineReport('A', settings.lineAMode, settings.lineAValue,
                              firstEvent(report.events, EmulationCode::LineAFired),
                              report.statistics.lineA, report, set);
    report.lineB = lineReport('B', settings.lineBMode, settings.lineBValue,
                              firstEvent(report.events, EmulationCode::LineBFired),
                              report.statistics.lineB, report, set);
    return report;
}

}  // namespace tevusb::analysis
