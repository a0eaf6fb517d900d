// SPDX-License-Identifier: MIT
#include "analysis/statistics_table.h"

#include <cmath>
#include <optional>

namespace tevusb::analysis {

namespace {

UnitSystem other(UnitSystem system) {
    return system == UnitSystem::Metric ? UnitSystem::Imperial : UnitSystem::Metric;
}

std::string seconds(double t) {
    return formatQuantity(Quantity::Time, t, UnitSystem::Metric, 1);
}

// An altitude in the chosen units, the other system's in brackets: flyers quote both.
std::string altitude(double m, UnitSystem system) {
    return formatAltitude(m, system) + " (" + formatAltitude(m, other(system)) + ")";
}

// A flight speed with its road-speed form (km/h or mph), as the graph labels it.
std::string speed(double ms, UnitSystem system) {
    return formatQuantity(Quantity::Speed, ms, system) + " (" +
           formatQuantity(Quantity::FastSpeed, ms, system) + ")";
}

std::string acceleration(double ms2, UnitSystem system) {
    constexpr double kStandardGravity = 9.80665;
    return formatQuantity(Quantity::Acceleration, ms2, system) + " (" +
           formatNumber(ms2 / kStandardGravity, 1) + " g)";
}

std::string optionalTime(const std::optional<double>& t, const FlightStatistics& s) {
    return t ? flightTimeText(*t, s.launchTimeS) : kNoValue;
}

std::string launchText(const FlightStatistics& s) {
    return s.launchTimeS ? "T+0.0 s, " + seconds(*s.launchTimeS) + " into the recording (" +
                               kTimeOriginNote + ")"
                         : kNoValue;
}

std::string optionalRate(const std::optional<double>& rate, UnitSystem system) {
    return rate ? formatQuantity(Quantity::Speed, *rate, system) : kNoValue;
}

std::string lineText(const std::optional<LineEvent>& line, const FlightStatistics& s,
                     UnitSystem system) {
    if (!line) {
        return kNotFired;
    }
    return flightTimeText(line->at.timeS, s.launchTimeS) + " at " +
           altitude(line->at.aglM, system) + ", " + std::to_string(line->samples) +
           (line->samples == 1 ? " sample" : " samples");
}

}  // namespace

std::vector<StatisticsRow> statisticsTable(const FlightStatistics& s, UnitSystem system) {
    std::vector<StatisticsRow> rows;
    rows.push_back({"Readings", std::to_string(s.readings)});
    rows.push_back({"Duration", seconds(s.durationS)});
    rows.push_back(
        {"Ground above sea level", s.groundKnown ? altitude(s.groundMslM, system) : kNoValue});
    const auto at = [&s](double t) { return " at " + flightTimeText(t, s.launchTimeS); };
    rows.push_back({label::kApogee,
                    s.apogee ? altitude(s.apogee->aglM, system) + at(s.apogee->timeS) : kNoValue});
    rows.push_back(
        {"Apogee above sea level", s.apogee ? altitude(s.apogeeMslM, system) : kNoValue});
    rows.push_back({label::kPeakVelocity, s.maxVelocity ? speed(s.maxVelocity->velocityMs, system) +
                                                              at(s.maxVelocity->timeS)
                                                        : kNoValue});
    rows.push_back({label::kPeakAcceleration,
                    s.maxAcceleration
                        ? acceleration(s.maxAccelerationMs2, system) + at(s.maxAcceleration->timeS)
                        : kNoValue});
    rows.push_back({label::kLaunch, launchText(s)});
    rows.push_back({label::kBurnout, optionalTime(s.burnoutTimeS, s)});
    rows.push_back({label::kLanding, optionalTime(s.landingTimeS, s)});
    rows.push_back({label::kLineA, lineText(s.lineA, s, system)});
    rows.push_back({label::kLineB, lineText(s.lineB, s, system)});
    rows.push_back({label::kDrogueDescent, optionalRate(s.drogueRateMs, system)});
    rows.push_back({label::kMainDescent, optionalRate(s.mainRateMs, system)});
    const std::string notes = describeFlags(s.flags);
    rows.push_back({"Notes", notes.empty() ? kNoValue : notes});
    return rows;
}

std::string flightTimeText(double timeS, const std::optional<double>& launchTimeS) {
    if (!launchTimeS) {
        return seconds(timeS) + " into the recording";
    }
    const double since = timeS - *launchTimeS;
    // A moment before launch (a line that fired on the pad) reads T-.
    return (since < -0.05 ? "T-" : "T+") + formatNumber(std::abs(since), 1) + " s";
}

std::string describeFlags(unsigned flags) {
    // The most telling reason first; kNoLaunch only when nothing explains it better.
    struct Reason {
        unsigned flag;
        const char* text;
    };
    static const Reason kReasons[] = {
        {kNoReadings, "no readings"},
        {kTooShort, "too short for a flight"},
        {kFlatData, "no flight: the altitude stays at ground level"},
        {kNoLaunch, "no launch found"},
        {kNoLanding, "no landing: the recording ends in the air"},
    };
    std::string text;
    for (const Reason& r : kReasons) {
        if ((flags & r.flag) == 0) {
            continue;
        }
        if (r.flag == kNoLaunch && (flags & (kNoReadings | kTooShort | kFlatData)) != 0) {
            continue;
        }
        if (r.flag == kTooShort && (flags & kNoReadings) != 0) {
            continue;
        }
        text += text.empty() ? "" : "; ";
        text += r.text;
    }
    return text;
}

}  // namespace tevusb::analysis
