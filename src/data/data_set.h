// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

namespace tevusb::data {

// One decoded set: parallel series, one entry per reading (0.1 s apart).
struct DataSet {
    std::vector<std::int32_t> adcCounts;
    std::vector<double> voltage;           // V
    std::vector<double> pressure;          // kPa
    std::vector<double> altitudeMsl;       // m above mean sea level
    std::vector<double> altitudeAgl;       // m above the first reading
    std::vector<double> smoothedAltitude;  // m
    std::vector<double> velocity;          // m/s over about one second
    std::vector<double> smoothedVelocity;  // m/s
    std::vector<double> velocityKmh;       // km/h
    std::vector<std::uint8_t> lineFlags;   // bit 1 Line A, bit 0 Line B
    std::int32_t setIndex = 0;

    void clear();
    std::size_t size() const { return adcCounts.size(); }

    // Fills the eight physical series from adcCounts. Writes the per-sample altitude
    // smoothing weights to the diagnostic log as one blank-separated list.
    void deriveSeries(int adcOffset);
};

}  // namespace tevusb::data
