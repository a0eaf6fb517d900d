// SPDX-License-Identifier: MIT
// The preloaded flights: their shape, their line flags and how they sit in memory.
#include <gtest/gtest.h>

#include <algorithm>

#include "data/altitude_converter.h"
#include "data/reading.h"
#include "sim_test_support.h"

namespace tevusb::device::sim::test {
namespace {

// Altitude above the first reading, as the program would compute it.
std::vector<double> heights(const RecordedFlight& flight) {
    const data::AltitudeConverter converter(0);
    std::vector<double> h;
    for (const auto word : flight.words) {
        h.push_back(converter.altitude(data::reading::count(word)) -
                    converter.altitude(data::reading::count(flight.words.front())));
    }
    return h;
}

double meanOver(const std::vector<double>& h, int from, int to) {
    double sum = 0.0;
    for (int i = from; i < to; ++i) {
        sum += h[static_cast<std::size_t>(i)];
    }
    return sum / (to - from);
}

TEST(SimFlights, EachFlightClimbsPeaksAndComesDownUnderTwoParachutes) {
    const SimBackend backend(instantConfig(3));
    auto& device = const_cast<SimBackend&>(backend).altimeter();
    const auto flights = device.flights();
    ASSERT_EQ(flights.size(), 3u);
    for (const auto& stored : flights) {
        const RecordedFlight& f = stored.flight;
        SCOPED_TRACE(f.groundAltitude);
        const auto h = heights(f);
        const auto n = static_cast<int>(h.size());
        ASSERT_GT(n, 200);

        // On the pad: a couple of seconds of ground readings, only noise.
        ASSERT_GE(f.ignitionSample, 15);
        for (int i = 0; i < f.ignitionSample; ++i) {
            EXPECT_LT(std::abs(h[static_cast<std::size_t>(i)]), 4.0) << i;
        }
        // The highest reading matches the flown apogee, which is a model rocket's.
        const auto peak = std::max_element(h.begin(), h.end());
        const int peakAt = static_cast<int>(peak - h.begin());
        EXPECT_NEAR(*peak, f.apogee, 4.0);
        EXPECT_GT(f.apogee, 60.0);
        EXPECT_LT(f.apogee, 3000.0);
        // Boost is quick: the launch is seen within a second of ignition.
        EXPECT_GT(f.launchSample, f.ignitionSample);
        EXPECT_LE(f.launchSample, f.ignitionSample + 10);
        // Apogee is recognised shortly after the top, never before it.
        EXPECT_GE(f.apogeeSample, peakAt - 3);
        EXPECT_LE(f.apogeeSample, peakAt + 20);

        // Down again at the end, landed for the last two seconds.
        EXPECT_GT(f.landingSample, f.apogeeSample);
        EXPECT_LT(std::abs(meanOver(h, n - 10, n)), 3.0);

        // Descent: fast under the drogue, slow under the main.
        if (f.lineBSample - f.lineASample > 60) {
            const int a = f.lineASample + 30;
            const int b = f.lineBSample - 5;
            const double drogue =
                (meanOver(h, a - 5, a) - meanOver(h, b - 5, b)) / ((b - a) / 10.0);
            EXPECT_GT(drogue, 10.0);
            EXPECT_LT(drogue, 25.0);
        }
        const int m0 = f.lineBSample + 30;
        const int m1 = f.landingSample - 5;
        ASSERT_GT(m1 - m0, 30);
        const double main =
            (meanOver(h, m0 - 5, m0) - meanOver(h, m1 - 5, m1)) / ((m1 - m0) / 10.0);
        EXPECT_GT(main, 3.0);
        EXPECT_LT(main, 9.0);
    }
}

TEST(SimFlights, LineFlagsMarkWhereTheDefaultSettingsFire) {
    SimBackend backend(instantConfig(3));
    for (const auto& stored : backend.altimeter().flights()) {
        const RecordedFlight& f = stored.flight;
        const auto h = heights(f);
        ASSERT_GE(f.lineASample, 0);
        ASSERT_GE(f.lineBSample, 0);
        for (std::size_t i = 0; i < f.words.size(); ++i) {
            const auto flags = data::reading::lineFlags(f.words[i]);
            const auto since = [&](int fired) { return static_cast<int>(i) - fired; };
            const bool aOn = since(f.lineASample) >= 0 && since(f.lineASample) < 10;
            const bool bOn = since(f.lineBSample) >= 0 && since(f.lineBSample) < 10;
            EXPECT_EQ((flags & 2) != 0, aOn) << i;
            EXPECT_EQ((flags & 1) != 0, bOn) << i;
        }
        // Line A (apogee) fires at the apogee, after the inhibit time.
        EXPECT_EQ(f.lineASample, f.apogeeSample);
        EXPECT_GE(f.lineASample - f.launchSample, 20);
        // Line B (150 m) fires on the way down near 150 m, or at apogee if it never got
        // that high.
        EXPECT_GE(f.lineBSample, f.apogeeSample);
        if (f.apogee > 160.0) {
            EXPECT_NEAR(h[static_cast<std::size_t>(f.lineBSample)], 150.0, 8.0);
        } else {
            EXPECT_EQ(f.lineBSample, f.apogeeSample);
        }
    }
}

TEST(SimFlights, SetsStartWithTypeTwoAndTheRestOfMemoryIsErased) {
    SimBackend backend(instantConfig(3));
    auto& device = backend.altimeter();
    const auto flights = device.flights();
    int expectedFirst = 0;
    for (const auto& stored : flights) {
        EXPECT_EQ(stored.firstPacket, expectedFirst);
        const int wanted = static_cast<int>((stored.flight.words.size() + 30) / 31);
        EXPECT_EQ(stored.packetCount, wanted);
        std::size_t k = 0;
        for (int p = stored.firstPacket; p < stored.firstPacket + stored.packetCount; ++p) {
            const auto packet = device.packet(p);
            EXPECT_EQ(packet.type(), p == stored.firstPacket ? 2 : 1) << p;
            for (int j = 0; j < 31; ++j) {
                const auto word = packet.reading(j);
                if (k < stored.flight.words.size()) {
                    EXPECT_EQ(word, stored.flight.words[k++]);
                } else {
                    EXPECT_EQ(word, 0xFFFF) << "tail of the last packet is empty";
                }
            }
        }
        expectedFirst += stored.packetCount;
    }
    EXPECT_EQ(device.usedPackets(), expectedFirst);
    for (int p = expectedFirst; p < 128; ++p) {
        const auto packet = device.packet(p);
        EXPECT_TRUE(std::all_of(packet.bytes.begin(), packet.bytes.end(), [](std::uint8_t b) {
            return b == 0xFF;
        })) << p;
    }
}

TEST(SimFlights, TheSameSeedGivesTheSameMemoryAndAnotherSeedDoesNot) {
    SimConfig config = instantConfig(3);
    SimBackend one(config);
    SimBackend two(config);
    config.seed = 7;
    SimBackend other(config);
    bool differs = false;
    for (int p = 0; p < 128; ++p) {
        EXPECT_EQ(one.altimeter().packet(p).bytes, two.altimeter().packet(p).bytes) << p;
        differs = differs || one.altimeter().packet(p).bytes != other.altimeter().packet(p).bytes;
    }
    EXPECT_TRUE(differs);
}

TEST(SimFlights, ManyFlightsFillTheMemoryAndTheLastOneIsCut) {
    SimBackend backend(instantConfig(10));
    auto& device = backend.altimeter();
    EXPECT_EQ(device.usedPackets(), 128);
    const auto flights = device.flights();
    ASSERT_GE(flights.size(), 5u);
    ASSERT_LT(flights.size(), 10u);
    const auto& last = flights.back();
    EXPECT_EQ(last.firstPacket + last.packetCount, 128);
    EXPECT_LT(static_cast<std::size_t>(last.packetCount) * 31, last.flight.words.size());

    SimBackend empty(instantConfig(0));
    EXPECT_EQ(empty.altimeter().usedPackets(), 0);
    EXPECT_TRUE(empty.altimeter().packet(0).isErased());
}

TEST(SimFlights, RecordedFlagsFollowTheDeviceSettings) {
    SimBackend backend(instantConfig(0));
    auto& device = backend.altimeter();
    settings::DeviceSettings s;
    s.lineAMode = static_cast<std::uint8_t>(settings::LineMode::Time);
    s.lineAValue = 30;  // 3 s after launch
    s.inhibitTime = 0;
    s.lineBMode = static_cast<std::uint8_t>(settings::LineMode::Disabled);
    s.build();
    device.setSettingsImage(s.image);
    device.loadFlights(1);
    const auto f = device.flights().at(0).flight;
    EXPECT_EQ(f.lineASample - f.launchSample, 30);
    EXPECT_EQ(f.lineBSample, -1);
    for (const auto word : f.words) {
        EXPECT_EQ(data::reading::lineFlags(word) & 1, 0);
    }
}

}  // namespace
}  // namespace tevusb::device::sim::test
