// SPDX-License-Identifier: MIT
#include "graph/synthetic/synthetic_flight.h"

#include <algorithm>
#include <cmath>

#include "data/altitude_converter.h"
#include "data/reading.h"

namespace tevusb::synthetic {

namespace {

// Flight phases as fractions of the recording.
constexpr double kLiftOff = 0.05;
constexpr double kBurnout = 0.09;
constexpr double kApogee = 0.30;
constexpr double kMainChute = 0.55;
constexpr double kLanding = 0.92;
constexpr double kMainAltitudeShare = 0.35;  // of the apogee altitude
constexpr double kFiringShare = 0.02;        // of the recording, how long a line fires

// Altitude above the pad at fraction f of the recording.
double altitudeAt(double f, double apogee) {
    if (f < kLiftOff) {
        return 0.0;
    }
    const double burnoutAlt = 0.22 * apogee;
    if (f < kBurnout) {
        const double u = (f - kLiftOff) / (kBurnout - kLiftOff);
        return burnoutAlt * u * u;
    }
    if (f < kApogee) {
        // Decelerating coast: a parabola from burnout up to apogee with zero slope there.
        const double u = (kApogee - f) / (kApogee - kBurnout);
        return apogee - (apogee - burnoutAlt) * u * u;
    }
    const double mainAlt = kMainAltitudeShare * apogee;
    if (f < kMainChute) {
        const double u = (f - kApogee) / (kMainChute - kApogee);
        return apogee - (apogee - mainAlt) * u;
    }
    if (f < kLanding) {
        const double u = (f - kMainChute) / (kLanding - kMainChute);
        return mainAlt * (1.0 - u);
    }
    return 0.0;
}

}  // namespace

std::vector<std::uint16_t> flightWords(const FlightProfile& profile) {
    const data::AltitudeConverter converter(profile.adcOffset);
    const int n = std::max(profile.readingCount, 0);
    std::vector<std::uint16_t> words;
    words.reserve(static_cast<std::size_t>(n));
    std::uint32_t seed = 12345;
    for (int i = 0; i < n; ++i) {
        const double f = n > 1 ? static_cast<double>(i) / (n - 1) : 0.0;
        const double msl = profile.groundMsl + altitudeAt(f, profile.apogeeAgl);
        int count = converter.countForAltitude(msl) - profile.adcOffset;
        if (profile.noise) {
            seed = seed * 1664525u + 1013904223u;
            count += static_cast<int>((seed >> 16) % 3) - 1;
        }
        count = std::clamp(count, 0, static_cast<int>(data::reading::kCountMask));
        std::uint16_t flags = 0;
        if (f >= kApogee && f < kApogee + kFiringShare) {
            flags |= data::reading::kLineAFlag;
        }
        if (f >= kMainChute && f < kMainChute + kFiringShare) {
            flags |= data::reading::kLineBFlag;
        }
        words.push_back(static_cast<std::uint16_t>(count | (flags << 14)));
    }
    return words;
}

std::vector<data::MemoryPacket> packWords(const std::vector<std::uint16_t>& words) {
    std::vector<data::MemoryPacket> packets;
    const std::size_t per = data::MemoryPacket::kWordCount;
    for (std::size_t at = 0; at < words.size(); at += per) {
        data::MemoryPacket packet;
        packet.bytes.fill(0xFF);
        packet.bytes[0] = packets.empty() ? data::MemoryPacket::kSetStart : 1;
        packet.bytes[1] = 0;
        for (std::size_t j = 0; j < per && at + j < words.size(); ++j) {
            packet.setWord(static_cast<int>(j) + 1, words[at + j]);
        }
        packets.push_back(packet);
    }
    return packets;
}

}  // namespace tevusb::synthetic
