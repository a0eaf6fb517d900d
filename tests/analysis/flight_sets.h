// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/flight_statistics.h"
#include "data/data_set.h"
#include "device/sim/flight_simulator.h"

namespace tevusb::testing {

// Reading words packed into set 0 of a flight memory image and decoded by the store,
// the way the program decodes a download or a file.
data::DataSet decodeWords(const std::vector<std::uint16_t>& words, int adcOffset = 0);

// A set whose altitude above ground is exactly `agl` (m), 10 per second: the sea-level
// series sits 100 m higher, velocity is the central difference, no line fired.
data::DataSet handSet(const std::vector<double>& agl);

// A simulated flight of `profile` with sensor noise from `seed`, on the default rules.
device::sim::RecordedFlight simulate(const device::sim::FlightProfile& profile, std::uint32_t seed);

// Every double the statistics hold is a finite number.
bool allFinite(const analysis::FlightStatistics& s);

}  // namespace tevusb::testing
