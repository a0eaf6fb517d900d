// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "data/memory_packet.h"

namespace tevusb::synthetic {

// A made-up but plausible flight for tests, benchmarks and screenshots: a pad wait, a
// boost, the coast to apogee, a drogue descent, the main chute and the landing, with
// Line A firing at apogee and Line B at the main-chute altitude. Altitudes become the sensor counts
// the altimeter would record.
struct FlightProfile {
    double groundMsl = 300.0;  // launch site above sea level, metres
    double apogeeAgl = 450.0;  // metres above the pad
    int readingCount = 600;    // samples, 0.1 s apart; the profile is stretched to fit
    int adcOffset = 0;         // calibration offset the counts are made for
    bool noise = true;         // +-1 count of sensor noise, deterministic
};

// The reading words of the flight: count | Line A flag << 15 | Line B flag << 14.
std::vector<std::uint16_t> flightWords(const FlightProfile& profile);

// Packs words into memory packets: the first of type 2, the rest continuation packets,
// the unused slots of the last packet empty (0xFFFF).
std::vector<data::MemoryPacket> packWords(const std::vector<std::uint16_t>& words);

}  // namespace tevusb::synthetic
