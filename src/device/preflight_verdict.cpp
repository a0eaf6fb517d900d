// SPDX-License-Identifier: MIT
#include "device/preflight_verdict.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "analysis/line_setting_text.h"
#include "analysis/profile_differences.h"
#include "device/device_tasks.h"
#include "device/firmware_update.h"

namespace tevusb::device {

namespace {

using data::CheckStatus;
using data::PreflightItem;

std::string volts(double v) {
    std::ostringstream text;
    text.precision(1);
    text << std::fixed << v << " V";
    return text.str();
}

std::string flights(int n) {
    return std::to_string(n) + (n == 1 ? " flight" : " flights");
}

PreflightItem settingsItem(const PreflightReadings& r, const settings::RocketProfile& profile) {
    if (!r.settingsValid) {
        return {"settings", CheckStatus::NoGo,
                "The altimeter's settings fail their checksum: apply the profile \"" +
                    profile.name + "\" to write them again."};
    }
    const auto differences = analysis::profileDifferences(r.settings, profile);
    if (!analysis::anyChanged(differences)) {
        return {"settings", CheckStatus::Ok,
                "As the profile \"" + profile.name + "\" sets them: Line A " +
                    differences[0].device + ", Line B " + differences[1].device + ", inhibit " +
                    differences[2].device + "."};
    }
    std::string text = "Not as the profile \"" + profile.name + "\" sets them: ";
    bool first = true;
    for (const auto& d : differences) {
        if (d.changed) {
            text += (first ? "" : "; ") + analysis::differenceText(d);
            first = false;
        }
    }
    return {"settings", CheckStatus::NoGo, text + ". Apply the profile before flight."};
}

PreflightItem batteryItem(const PreflightReadings& r, const settings::RocketProfile& profile) {
    const int lowest = static_cast<int>(std::lround(profile.minBatteryV * 10.0));
    const int tenths = r.batteryTenths;
    const std::string reads = "The battery reads " + volts(tenths / 10.0);
    const std::string needed = volts(lowest / 10.0);
    if (tenths < lowest) {
        return {"battery", CheckStatus::NoGo,
                reads + ", below the " + needed + " this rocket needs: charge or replace it."};
    }
    if (tenths <= lowest + kBatteryMarginTenths) {
        return {"battery", CheckStatus::Warning,
                reads + ", within 0.3 V of the " + needed + " this rocket needs."};
    }
    return {"battery", CheckStatus::Ok, reads + " (at least " + needed + " needed)."};
}

PreflightItem memoryItem(const PreflightReadings& r, const KeptAnswer& kept) {
    const bool full = r.packetsUsed >= kMemoryPackets;
    const int notKept = kept.problem.empty() ? kept.notKept : r.setCount;
    const std::string used = " (" + std::to_string(r.packetsUsed) + " of " +
                             std::to_string(kMemoryPackets) + " packets used)";
    std::string text;
    if (!kept.problem.empty()) {
        text = "The flight library could not be read (" + kept.problem + "), so " +
               (r.setCount == 0 ? std::string("nothing on the altimeter is checked against it")
                                : "every flight on the altimeter counts as not in it") +
               ". ";
    }
    if (notKept > 0) {
        text += flights(notKept) + " on the altimeter " + (notKept == 1 ? "is" : "are") +
                " not in your library: download " + (notKept == 1 ? "it" : "them") +
                " before clearing" + used + ".";
        if (full) {
            text += " The memory is full: the next flight would not be recorded.";
        }
        return {"memory", CheckStatus::NoGo, text};
    }
    if (full) {
        return {"memory", CheckStatus::NoGo,
                text + "The memory is full" + used +
                    ": the next flight would not be recorded. Clear it before flight."};
    }
    if (r.setCount > 0) {
        return {"memory", CheckStatus::Warning,
                text + "The altimeter holds " + flights(r.setCount) + " already in your library" +
                    used + ": clearing the memory before flight is safe."};
    }
    return {"memory", CheckStatus::Ok, text + "The memory is empty" + used + "."};
}

// Supported is what the connect accepted: the version mask decides, not one number.
PreflightItem firmwareItem(std::uint16_t version, bool supported) {
    const std::string shown = versionString(version);
    if (!supported) {
        return {"firmware", CheckStatus::NoGo,
                "Firmware " + shown + " is not the version this program supports (" +
                    versionString(kRequiredFirmwareVersion) + ")."};
    }
    return {"firmware", CheckStatus::Ok,
            "Firmware " + shown + ", the version this program supports."};
}

PreflightItem pressureItem(const PreflightReadings& r) {
    std::ostringstream text;
    text.precision(1);
    text << std::fixed << "Ground pressure " << r.pressureKpa << " kPa, about "
         << std::lround(r.groundMslM) << " m above sea level";
    if (!std::isfinite(r.pressureKpa) || r.pressureKpa < kLowestSensiblePressureKpa ||
        r.pressureKpa > kHighestSensiblePressureKpa) {
        text << ": outside what the sensor reads sensibly (" << kLowestSensiblePressureKpa << " to "
             << kHighestSensiblePressureKpa << " kPa); the sensor or its calibration may be wrong.";
        return {"pressure", CheckStatus::Warning, text.str()};
    }
    text << ".";
    return {"pressure", CheckStatus::Ok, text.str()};
}

}  // namespace

data::PreflightReport assessPreflight(const PreflightReadings& readings,
                                      const settings::RocketProfile& profile,
                                      const KeptAnswer& kept) {
    data::PreflightReport report;
    report.profile = profile.name;
    report.items = {settingsItem(readings, profile), batteryItem(readings, profile),
                    memoryItem(readings, kept), firmwareItem(readings.firmwareVersion, true),
                    pressureItem(readings)};
    report.batteryV = readings.batteryTenths / 10.0;
    // Tenths of a metre are far below what the sensor resolves.
    report.groundMslM = std::round(readings.groundMslM * 10.0) / 10.0;
    report.flightsOnDevice = readings.setCount;
    report.flightsNotInLibrary = kept.problem.empty() ? kept.notKept : readings.setCount;
    report.memoryPacketsUsed = readings.packetsUsed;
    report.memoryFull = readings.packetsUsed >= kMemoryPackets;
    return report;
}

data::PreflightReport firmwareRefused(const settings::RocketProfile& profile,
                                      std::uint16_t version) {
    data::PreflightReport report;
    report.profile = profile.name;
    report.items = {firmwareItem(version, false)};
    return report;
}

std::string verdictLine(const data::PreflightReport& report) {
    if (report.go()) {
        const bool warned =
            std::any_of(report.items.begin(), report.items.end(),
                        [](const auto& item) { return item.status == CheckStatus::Warning; });
        return "go: ready for flight with the profile \"" + report.profile + "\"" +
               (warned ? " (read the warnings)." : ".");
    }
    for (const PreflightItem& item : report.items) {
        if (item.status == CheckStatus::NoGo) {
            return "no-go: " + item.text;
        }
    }
    return "no-go: the check found nothing to judge.";
}

}  // namespace tevusb::device
