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
    unsigned flags = 0;        // StatisticsFlag bits

    std::optional<FlightPoint> apogee;       // first largest altitudeAgl (the graph's label)
    double apogeeMslM = 0.0;                 // apogee above sea level, when there is one
    std::optional<FlightPoint> maxVelocity;  // first largest unsmoothed velocity
    std::optional<FlightPoint> maxAcceleration;
    double maxAccelerationMs2 = 0.0;  // the value at maxAcceleration

    std::optional<double> launchTimeS;
    std::optional<double> burnoutTimeS;
    std::optional<double> landingTimeS;

    std::optional<LineEvent> lineA;
    std::optional<LineEvent> lineB;

    // Descent rates as positive m/s; none where the phase does not exist.
    std::optional<double> drogueRateMs;
    std::optional<double> mainRateMs;

    bool has(StatisticsFlag f) const { return (flags & f) != 0; }
};

// Computes the statistics of a decoded set (its derived series and line flags).
// Defined for every set the file format allows: empty, one reading, flat, noisy.
FlightStatistics computeStatistics(const data::DataSet& set);

}  // namespace tevusb::analysis
