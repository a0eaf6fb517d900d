// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/flight_statistics.h"
#include "data/data_set.h"
#include "settings/device_settings.h"

namespace tevusb::analysis {

// The replies of a launch emulation that tell what the altimeter's flight logic did,
// with the altimeter's own code numbers.
enum class EmulationCode : int {
    LaunchDetected = 14,
    LineAFired = 15,
    LineBFired = 16,
    ApogeeDetected = 17,
    EndOfLaunch = 19,
};

// One reply as the emulation saw it: its code and how many samples had been sent.
struct EmulationReply {
    int code = 0;
    int samplesSent = 0;
};

// Everything a front collects while an emulation runs.
struct EmulationRun {
    std::vector<EmulationReply> replies;  // every reply but the sample requests, in order
    bool succeeded = false;               // what the emulation itself returned
    bool cancelled = false;               // the user stopped it
};

// How the emulation came to its end.
enum class EmulationEnd { EndOfLaunch, UnknownCode, DataRanOut, Cancelled, Failed };

// A reply placed on the flight. An event reported after the k-th sample was sent
// belongs to sample k - 1; one reported before any sample (or past the set) has no place.
struct PlacedEvent {
    int code = 0;
    int samplesSent = 0;
    std::optional<FlightPoint> at;
};

// FiredUnjudged: it fired, but the flight gives nothing to measure it against (no
// detected launch for a Time line, no apogee in the recording for an Apogee line).
enum class LineVerdict { FiredAsSet, FiredAway, DidNotFire, NotSetToFire, FiredUnjudged };

// The plain answer a flyer reads first. Pass: fired where its setting says, or was not
// set to fire and stayed quiet. Check: fired, but away from its setting or with nothing
// to measure it against. Fail: did not fire, or fired where it must not (not set to
// fire, or inside the inhibit time).
enum class Verdict { Pass, Check, Fail };

// What one ejection line was asked to do and what it did.
struct LineReport {
    char name = 'A';
    settings::LineMode mode = settings::LineMode::Disabled;
    std::uint8_t rawMode = 0;  // as stored, for a mode outside the four known ones
    std::uint16_t value = 0;   // tenths of a second (Time) or metres (Altitude)
    LineVerdict verdict = LineVerdict::DidNotFire;
    std::optional<FlightPoint> fired;   // where the emulated firing lies on the flight
    std::optional<double> offset;       // fired minus target: s (Time, Apogee) or m (Altitude)
    std::optional<LineEvent> recorded;  // the flight's own flag for this line
    bool insideInhibit = false;         // fired before the inhibit time had run out
    double sampleTravelM = 0.0;         // height covered in the sample around the firing
};

// The bench-test report: the emulated events set beside the flight's recording and the
// settings the altimeter flew with.
struct EmulationReport {
    std::vector<PlacedEvent> events;
    LineReport lineA;
    LineReport lineB;
    FlightStatistics statistics;
    std::uint16_t inhibitTime = 0;  // tenths of a second
    bool settingsFromDevice = true;
    EmulationEnd end = EmulationEnd::Failed;
    int lastSamplesSent = 0;  // at the last reply seen
    std::optional<PlacedEvent> launch;
    std::optional<PlacedEvent> apogee;
    std::optional<double> launchDelayS;  // detected launch minus the recorded launch
    std::optional<double> apogeeDelayS;  // detected apogee minus the recorded apogee
};

// How far from its target a line may fire and still count as fired as set. Events can
// be placed only to the 0.1 s sample that preceded them.
inline constexpr double kTimeToleranceS = 0.1;
// Any altimeter must see the altitude drop before it knows the top has passed.
inline constexpr double kApogeeEarlyToleranceS = 0.1;
inline constexpr double kApogeeLateToleranceS = 1.0;
// Plus the height covered in one sample at the speed of the firing.
inline constexpr double kAltitudeToleranceM = 1.0;

// The tolerance for an Altitude line that fired at `velocityMs`.
double altitudeTolerance(double velocityMs);

// The verdict of one line, from its finding.
Verdict verdictOf(const LineReport& line);
// The verdict of the whole test: the worst of its two lines.
Verdict overallVerdict(const EmulationReport& report);

// Places a reply on `set`: sample k - 1 for k samples sent, nothing outside the set.
std::optional<FlightPoint> placeReply(const data::DataSet& set, int samplesSent);

// The display name of a reply code: "Launch detected", ..., "Unknown code 18".
std::string emulationCodeName(int code);

// Builds the report of `run`, emulated with `set` on an altimeter set as `settings`.
// `settingsFromDevice` says whether they were read from the device or are the file's.
EmulationReport buildEmulationReport(const data::DataSet& set,
                                     const settings::DeviceSettings& settings,
                                     const EmulationRun& run, bool settingsFromDevice = true);

}  // namespace tevusb::analysis
