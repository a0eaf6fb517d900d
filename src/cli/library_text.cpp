// SPDX-License-Identifier: MIT
#include "cli/library_text.h"

#include <cstdio>
#include <iomanip>

#include "analysis/statistics_table.h"
#include "library/flight_name.h"
#include "library/local_time.h"

namespace tevusb::cli {

std::string orDash(const std::optional<double>& value, analysis::Quantity quantity,
                   analysis::UnitSystem units) {
    return value ? analysis::formatQuantity(quantity, *value, units, 1) : "-";
}

std::string oneLine(const std::string& text) {
    std::string line = text;
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return line;
}

std::string localDownloadDate(const std::string& utc) {
    return library::localMinuteText(utc);
}

void printFlightTable(std::ostream& out, const std::vector<library::FlightRecord>& records,
                      analysis::UnitSystem units) {
    using analysis::Quantity;
    out << std::right << std::setw(5) << "ID"
        << "  " << std::left << std::setw(20) << "Downloaded (UTC)" << std::right << std::setw(4)
        << "Set" << std::setw(9) << "Readings" << std::setw(12) << "Apogee AGL"
        << "  " << std::left << std::setw(14) << "Rocket" << std::setw(10) << "Motor"
        << std::setw(14) << "Site"
        << "Comment\n";
    for (const auto& r : records) {
        std::string date = r.downloadedAt;
        if (date.size() == 20) {
            date = date.substr(0, 10) + " " + date.substr(11, 8);
        }
        out << std::right << std::setw(5) << r.id << "  " << std::left << std::setw(20) << date
            << std::right << std::setw(4) << r.setNumber << std::setw(9) << r.readings
            << std::setw(12) << orDash(r.apogeeAglM, Quantity::Altitude, units) << "  " << std::left
            << std::setw(14) << oneLine(r.rocket) << std::setw(10) << oneLine(r.motor)
            << std::setw(14) << oneLine(r.site) << oneLine(r.comment) << "\n";
    }
    out << records.size() << (records.size() == 1 ? " flight\n" : " flights\n");
}

void printFlight(std::ostream& out, const library::FlightRecord& r, const std::string& archiveFile,
                 analysis::UnitSystem units) {
    using analysis::Quantity;
    // Not a column to line up: the missing value reads as in every other front.
    const auto value = [units](const std::optional<double>& v, Quantity q) {
        return v ? analysis::formatQuantity(q, *v, units, 1) : std::string(analysis::kNoValue);
    };
    const auto alt = [&](const std::optional<double>& v) { return value(v, Quantity::Altitude); };
    const auto time = [&](const std::optional<double>& v) { return value(v, Quantity::Time); };
    const auto speed = [&](const std::optional<double>& v) { return value(v, Quantity::Speed); };
    const auto line = [&](const std::optional<double>& at, const std::optional<double>& height) {
        return at ? time(at) + " at " + alt(height) + " above ground"
                  : std::string(analysis::kNotFired);
    };
    namespace label = analysis::label;
    out << "Flight #" << r.id << ": " << library::flightName(r) << "\n";
    out << "Downloaded: " << r.downloadedAt << "\n";
    out << "Flight date: " << library::flightDay(r)
        << (r.flightDate.empty() ? " (the download day)" : "") << "\n";
    out << "Firmware version: " << (r.firmwareVersion.empty() ? "unknown" : r.firmwareVersion)
        << "\n";
    out << "Set: " << r.setNumber << "\n";
    out << "Readings: " << r.readings << " (" << time(r.durationS) << ")\n";
    if (r.apogeeAglM) {
        out << label::kApogee << ": " << alt(r.apogeeAglM) << " above ground (" << alt(r.apogeeMslM)
            << " above sea level) at " << time(r.apogeeTimeS) << "\n";
    } else {
        out << label::kApogee << ": " << analysis::kNoValue << "\n";
    }
    if (r.peakVelocityMs) {
        out << label::kPeakVelocity << ": " << speed(r.peakVelocityMs) << " ("
            << value(r.peakVelocityMs, Quantity::FastSpeed) << ") at " << time(r.peakVelocityTimeS)
            << "\n";
    } else {
        out << label::kPeakVelocity << ": " << analysis::kNoValue << "\n";
    }
    out << label::kLineA << ": " << line(r.lineATimeS, r.lineAAltitudeM) << "\n";
    out << label::kLineB << ": " << line(r.lineBTimeS, r.lineBAltitudeM) << "\n";
    out << label::kDrogueDescent << ": " << speed(r.drogueRateMs) << "\n";
    out << label::kMainDescent << ": " << speed(r.mainRateMs) << "\n";
    out << label::kLaunch << ": " << time(r.launchTimeS) << "\n";
    out << label::kLanding << ": " << time(r.landingTimeS) << "\n";
    out << "Rocket: " << oneLine(r.rocket) << "\n";
    out << "Motor: " << oneLine(r.motor) << "\n";
    out << "Site: " << oneLine(r.site) << "\n";
    out << "Notes: " << oneLine(r.notes) << "\n";
    out << "Comment: " << oneLine(r.comment) << "\n";
    out << "Archive file: " << archiveFile << "\n";
    out << "SHA-256: " << r.hash << "\n";
}

}  // namespace tevusb::cli
