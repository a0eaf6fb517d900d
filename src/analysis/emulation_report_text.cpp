// SPDX-License-Identifier: MIT
#include "analysis/emulation_report_text.h"

#include "analysis/line_setting_text.h"

#include <cmath>
#include <sstream>

namespace tevusb::analysis {

namespace {

// A setting is whole seconds in the settings dialog, tenths elsewhere: show what it is.
std::string seconds(double s) {
    const bool whole = std::abs(s - std::round(s)) < 1e-9;
    return formatNumber(s, whole ? 0 : 1) + " s";
}

std::string height(double m, UnitSystem units) {
    return formatQuantity(Quantity::Altitude, m, units, 0);
}

std::string pointText(const FlightPoint& p, UnitSystem units) {
    return formatNumber(p.timeS, 1) + " s, " + height(p.aglM, units) + " above ground";
}

std::string awayText(const LineReport& line, UnitSystem units) {
    const double off = *line.offset;
    switch (line.mode) {
        case settings::LineMode::Time:
            return "fired " + formatNumber(std::abs(off), 1) + " s " +
                   (off > 0 ? "after" : "before") + " its " + seconds(line.value / 10.0) +
                   " setting";
        case settings::LineMode::Apogee:
            return "fired " + formatNumber(std::abs(off), 1) + " s " +
                   (off > 0 ? "after" : "before") + " apogee";
        case settings::LineMode::Altitude:
            return "fired " + height(std::abs(off), units) + " " + (off > 0 ? "above" : "below") +
                   " its " + height(line.value, units) + " setting";
        case settings::LineMode::Disabled:
            break;
    }
    return "fired";
}

std::string padLeft(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

void eventTable(std::ostringstream& out, const EmulationReport& report, UnitSystem units) {
    out << "Events (each on the sample sent before it was reported)\n";
    if (report.events.empty()) {
        out << "  none: the altimeter reported nothing but sample requests\n";
        return;
    }
    out << "     time  sample   altitude     velocity  event\n";
    for (const PlacedEvent& e : report.events) {
        if (e.at) {
            out << padLeft(formatNumber(e.at->timeS, 1) + " s", 9)
                << padLeft(std::to_string(e.at->sample), 8)
                << padLeft(height(e.at->aglM, units), 11)
                << padLeft(formatQuantity(Quantity::Speed, e.at->velocityMs, units, 1), 13);
        } else {
            out << padLeft("-", 9) << padLeft("-", 8) << padLeft("-", 11) << padLeft("-", 13);
        }
        out << "  " << emulationCodeName(e.code) << "\n";
    }
}

// Why a line fired away from its setting: the usual causes, by mode.
std::string awayReason(const LineReport& line, const EmulationReport& report, UnitSystem units) {
    switch (line.mode) {
        case settings::LineMode::Time:
            if (line.value < report.inhibitTime && line.offset && *line.offset > 0) {
                return "The inhibit time held it back: a Time line cannot fire before the "
                       "inhibit time has run out.";
            }
            return "A Time line counts from the launch the altimeter detected itself; a late "
                   "or early launch detection moves the firing with it.";
        case settings::LineMode::Apogee:
            return "The altimeter sees the apogee only once the altitude has dropped; a noisy "
                   "or slow top moves that moment.";
        case settings::LineMode::Altitude:
            return "The altimeter reads its height once a sample (" +
                   height(line.sampleTravelM, units) +
                   " of travel here) from its own ground reference; a different ground level "
                   "or a fast rocket moves the firing point.";
        case settings::LineMode::Disabled:
            break;
    }
    return {};
}

void lineSection(std::ostringstream& out, const LineReport& line, const EmulationReport& report,
                 UnitSystem units) {
    out << lineHeadline(line, units) << "\n";
    const std::string reason = verdictReasonText(line, report, units);
    if (!reason.empty()) {
        out << "  why: " << reason << "\n";
    }
    if (line.fired) {
        out << "  emulated: fired at " << pointText(*line.fired, units) << "\n";
    }
    const auto& apogee = report.statistics.apogee;
    if (line.mode == settings::LineMode::Altitude && apogee && apogee->aglM < line.value) {
        out << "  the flight peaked at " << height(apogee->aglM, units)
            << ", below the setting: the line can only fire once the apogee is seen\n";
    }
    if (line.insideInhibit) {
        out << "  fired inside the " << seconds(report.inhibitTime / 10.0) << " inhibit time\n";
    }
    if (line.mode == settings::LineMode::Time && line.value < report.inhibitTime) {
        out << "  held back to " << seconds(report.inhibitTime / 10.0)
            << " after launch by the inhibit time\n";
    }
    if (line.recorded) {
        out << "  recorded flight: fired at " << pointText(line.recorded->at, units);
        if (line.fired) {
            const double d = line.fired->timeS - line.recorded->at.timeS;
            if (line.fired->sample == line.recorded->at.sample) {
                out << "; the emulation fired on the same sample";
            } else {
                out << "; the emulation fired " << formatNumber(std::abs(d), 1) << " s "
                    << (d > 0 ? "later" : "earlier");
            }
        }
        out << "\n";
    } else {
        out << "  recorded flight: the line did not fire\n";
    }
}

void detection(std::ostringstream& out, const EmulationReport& report) {
    if (report.launchDelayS) {
        out << "Launch detected " << formatNumber(*report.launchDelayS, 1)
            << " s after the recorded launch\n";
    } else if (!report.launch) {
        out << "Launch not detected\n";
    }
    if (report.apogeeDelayS) {
        out << "Apogee detection delay: " << formatNumber(*report.apogeeDelayS, 1) << " s\n";
    } else if (!report.apogee) {
        out << "Apogee not detected\n";
    }
}

void recording(std::ostringstream& out, const EmulationReport& report, UnitSystem units) {
    const FlightStatistics& s = report.statistics;
    out << "Recorded flight: " << s.readings << " samples, " << formatNumber(s.durationS, 1)
        << " s";
    if (s.apogee) {
        out << "; apogee " << height(s.apogee->aglM, units) << " at "
            << formatNumber(s.apogee->timeS, 1) << " s";
    }
    if (s.maxVelocity) {
        out << "; fastest " << formatQuantity(Quantity::Speed, s.maxVelocity->velocityMs, units, 1);
    }
    out << "\n";
}

}  // namespace

std::string lineSettingText(const LineReport& line, UnitSystem units) {
    return lineSettingText(line.rawMode, line.value, units);
}

std::string lineVerdictText(const LineReport& line, UnitSystem units) {
    switch (line.verdict) {
        case LineVerdict::FiredAsSet:
            return "fired as set";
        case LineVerdict::FiredAway:
            return awayText(line, units);
        case LineVerdict::DidNotFire:
            return "did not fire";
        case LineVerdict::NotSetToFire:
            return line.fired ? "not set to fire, yet it fired" : "not set to fire";
        case LineVerdict::FiredUnjudged:
            return "fired, with nothing in the flight to measure it against";
    }
    return {};
}

std::string verdictWord(Verdict verdict) {
    switch (verdict) {
        case Verdict::Pass:
            return "PASS";
        case Verdict::Check:
            return "CHECK";
        case Verdict::Fail:
            return "FAIL";
    }
    return {};
}

std::string verdictReasonText(const LineReport& line, const EmulationReport& report,
                              UnitSystem units) {
    if (verdictOf(line) == Verdict::Pass) {
        return {};
    }
    if (line.insideInhibit) {
        return "It fired inside the " + seconds(report.inhibitTime / 10.0) +
               " inhibit time, when no line may fire.";
    }
    switch (line.verdict) {
        case LineVerdict::NotSetToFire:
            return "The line is disabled, yet the altimeter fired it.";
        case LineVerdict::DidNotFire:
            if (line.mode == settings::LineMode::Altitude && report.statistics.apogee &&
                report.statistics.apogee->aglM < line.value) {
                return "The flight never reached its setting, so the line could not fire.";
            }
            return "The altimeter never reported this line firing.";
        case LineVerdict::FiredUnjudged:
            return "The flight gives nothing to measure the firing against (no launch or "
                   "apogee found in it).";
        case LineVerdict::FiredAway:
            return awayReason(line, report, units);
        case LineVerdict::FiredAsSet:
            break;
    }
    return {};
}

std::string lineHeadline(const LineReport& line, UnitSystem units) {
    std::string word = verdictWord(verdictOf(line));
    word.resize(6, ' ');
    return word + "Line " + std::string(1, line.name) + ": " + lineSettingText(line, units) + ": " +
           lineVerdictText(line, units);
}

std::string emulationEndText(const EmulationReport& report) {
    const std::string after = " after " + std::to_string(report.lastSamplesSent) + " of " +
                              std::to_string(report.statistics.readings) + " samples";
    switch (report.end) {
        case EmulationEnd::EndOfLaunch:
            return "The altimeter ended the launch" + after + ".";
        case EmulationEnd::UnknownCode:
            return "The altimeter sent an unknown reply" + after + "; the emulation stopped.";
        case EmulationEnd::DataRanOut:
            return "The recorded flight ran out before the altimeter ended the launch.";
        case EmulationEnd::Cancelled:
            return "The emulation was stopped by the user.";
        case EmulationEnd::Failed:
            return "The emulation failed (no reply, or a message could not be sent): the "
                   "events below are those seen before.";
    }
    return {};
}

std::string formatEmulationReport(const EmulationReport& report, UnitSystem units) {
    std::ostringstream out;
    out << "Launch emulation bench test, set " << report.statistics.setIndex + 1 << "\n";
    out << "Verdict: " << verdictWord(overallVerdict(report)) << "\n\n";
    lineSection(out, report.lineA, report, units);
    lineSection(out, report.lineB, report, units);
    out << "\n";
    out << "Settings: "
        << (report.settingsFromDevice ? "as read from the altimeter"
                                      : "the flight's own (the altimeter's could not be read)")
        << "; inhibit " << seconds(report.inhibitTime / 10.0) << "\n";
    out << "Tolerances: Time lines \u00b1" << formatNumber(kTimeToleranceS, 1)
        << " s (one sample), counted from the launch the altimeter detected;\n"
        << "  Apogee lines " << formatNumber(kApogeeEarlyToleranceS, 1) << " s before to "
        << formatNumber(kApogeeLateToleranceS, 1) << " s after the recorded apogee;\n"
        << "  Altitude lines \u00b1(" << height(kAltitudeToleranceM, units)
        << " + the height covered in one sample)\n";
    out << emulationEndText(report) << "\n\n";
    detection(out, report);
    recording(out, report, units);
    out << "\n";
    eventTable(out, report, units);
    return out.str();
}

}  // namespace tevusb::analysis
