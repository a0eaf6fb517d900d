// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "data/data_set.h"

namespace tevusb::analysis {

// One sample of a flight picked out by the analysis: where it lies in the series, when
// it was recorded and what the altimeter saw there.
struct FlightPoint {
    int sample = 0;
    double timeS = 0.0;       // sample / 10
    double aglM = 0.0;        // altitude above the first reading
    double velocityMs = 0.0;  // the unsmoothed velocity series, m/s
};

// The first sample carrying a line's flag, and how many samples carry it.
struct LineEvent {
    FlightPoint at;
    int samples = 0;
};

// What the analysis could not determine; never a NaN in its place.
// kNoLaunch is set whenever launch, burnout and acceleration are missing, whatever the
// reason (the other flags then say why); kNoLanding only after a launch.
enum StatisticsFlag : unsigned {
    kNoReadings = 1u << 0,  // the set holds no reading
    kTooShort = 1u << 1,    // fewer readings than a flight needs (under 2 s)
    kFlatData = 1u << 2,    // altitude never leaves the noise band around the ground
    kNoLaunch = 1u << 3,    // no sustained climb found
    kNoLanding = 1u << 4,   // the recording ends before the rocket is back on the ground
};

// Everything a flyer reads off one set, all in SI units (m, s, m/s, m/s^2).
struct FlightStatistics {
    int setIndex = 0;
    std::size_t readings = 0;
    double durationS = 0.0;    // (readings - 1) / 10, 0 without readings
    double groundMslM = 0.0;   // the first reading's altitude above sea level
    bool groundKnown = false;  // false without readings or when that altitude is no number
    unsigned flags = 0;        // StatisticsFlag bits

    // Apogee: the first largest altitudeAgl, the point the graph labels (a first value
    // that is not a number wins there, so then there is none here).
    std::optional<FlightPoint> apogee;
    double apogeeMslM = 0.0;  // apogee above sea level, when there is one
    // The first largest unsmoothed velocity, the graph's velocity label.
    std::optional<FlightPoint> maxVelocity;
    // The largest acceleration of the powered ascent: second derivative of parabolas
    // fitted over 0.9-1.1 s windows wholly inside the boost; a shorter boost gives its
    // mean, from fitting height = a/2 (t - launch)^2.
    std::optional<FlightPoint> maxAcceleration;
    double maxAccelerationMs2 = 0.0;  // the value at maxAcceleration

    // Launch: backwards from the first sustained crossing of 10 m (or more on noisy
    // data) to the last sample on the ground, refined by fitting sqrt(height) of the
    // early climb back to zero.
    std::optional<double> launchTimeS;
    // Burnout: the peak climb rate after launch, refined to where the velocity lines of
    // boost and coast (parabola fits either side) cross.
    std::optional<double> burnoutTimeS;
    // Landing: the start of the final flat stretch (1.5 s or more within the noise band,
    // falling slower than 1.5 m/s), or of a shorter last stretch back at the launch site's
    // level, refined to where the last descent line meets it, never past the recording.
    std::optional<double> landingTimeS;

    std::optional<LineEvent> lineA;
    std::optional<LineEvent> lineB;

    // Descent rates as positive m/s from least-squares lines, trimmed of the settling
    // seconds after each phase starts; none where the phase does not exist.
    // Drogue: from apogee (or Line A when it fired later) to Line B or landing.
    // Main: from Line B (or apogee when it fired before) to landing.
    std::optional<double> drogueRateMs;
    std::optional<double> mainRateMs;

    bool has(StatisticsFlag f) const { return (flags & f) != 0; }
};

// Computes the statistics of a decoded set (its derived series and line flags).
// Defined for every set the file format allows: empty, one reading, flat, noisy.
FlightStatistics computeStatistics(const data::DataSet& set);

}  // namespace tevusb::analysis
