// SPDX-License-Identifier: MIT
#include "cli/library_text.h"

#include <charconv>
#include <cmath>
#include <iomanip>

namespace tevusb::cli {

std::string fixed(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "-";
    }
    char text[64];
    const auto r =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? std::string(text, r.ptr) : "-";
}

std::string orDash(const std::optional<double>& value, const char* unit, int decimals) {
    return value ? fixed(*value, decimals) + " " + unit : "-";
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

void printFlightTable(std::ostream& out, const std::vector<library::FlightRecord>& records) {
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
            << std::setw(12) << orDash(r.apogeeAglM, "m") << "  " << std::left << std::setw(14)
            << oneLine(r.rocket) << std::setw(10) << oneLine(r.motor) << std::setw(14)
            << oneLine(r.site) << oneLine(r.comment) << "\n";
    }
    out << records.size() << (records.size() == 1 ? " flight\n" : " flights\n");
}

void printFlight(std::ostream& out, const library::FlightRecord& r,
                 const std::string& archiveFile) {
    const auto line = [](const std::optional<double>& time, const std::optional<double>& alt) {
        return time ? "fired at " + fixed(*time) + " s, " + fixed(alt.value_or(0.0)) +
                          " m above ground"
                    : std::string("did not fire");
    };
    out << "Flight #" << r.id << "\n";
    out << "Downloaded: " << r.downloadedAt << "\n";
    out << "Firmware version: " << (r.firmwareVersion.empty() ? "unknown" : r.firmwareVersion)
        << "\n";
    out << "Set: " << r.setNumber << "\n";
    out << "Readings: " << r.readings << " (" << fixed(r.durationS) << " s)\n";
    if (r.apogeeAglM) {
        out << "Apogee: " << fixed(*r.apogeeAglM) << " m above ground ("
            << orDash(r.apogeeMslM, "m") << " above sea level) at " << orDash(r.apogeeTimeS, "s")
            << "\n";
    } else {
        out << "Apogee: none found\n";
    }
    if (r.peakVelocityMs) {
        out << "Peak velocity: " << fixed(*r.peakVelocityMs) << " m/s ("
            << fixed(*r.peakVelocityMs * 3.6) << " km/h) at " << orDash(r.peakVelocityTimeS, "s")
            << "\n";
    } else {
        out << "Peak velocity: none found\n";
    }
    out << "Line A: " << line(r.lineATimeS, r.lineAAltitudeM) << "\n";
    out << "Line B: " << line(r.lineBTimeS, r.lineBAltitudeM) << "\n";
    out << "Drogue descent: " << orDash(r.drogueRateMs, "m/s") << "\n";
    out << "Main descent: " << orDash(r.mainRateMs, "m/s") << "\n";
    out << "Launch: " << orDash(r.launchTimeS, "s") << "\n";
    out << "Landing: " << orDash(r.landingTimeS, "s") << "\n";
    out << "Rocket: " << oneLine(r.rocket) << "\n";
    out << "Motor: " << oneLine(r.motor) << "\n";
    out << "Site: " << oneLine(r.site) << "\n";
    out << "Notes: " << oneLine(r.notes) << "\n";
    out << "Comment: " << oneLine(r.comment) << "\n";
    out << "Archive file: " << archiveFile << "\n";
    out << "SHA-256: " << r.hash << "\n";
}

}  // namespace tevusb::cli
