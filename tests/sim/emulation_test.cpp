// SPDX-License-Identifier: MIT
// Launch emulation from the device's side: it asks for each sample, the host answers,
// and the flight logic reports what it sees.
#include <gtest/gtest.h>

#include "device/sim/sim_codes.h"
#include "sim_test_support.h"

namespace tevusb::device::sim::test {
namespace {

constexpr std::uint8_t kComplete = 5;
constexpr std::uint8_t kAdcRequest = 13;
constexpr std::uint8_t kEndOfLaunch = 19;

std::uint8_t code(Command c) {
    return static_cast<std::uint8_t>(c);
}

struct Replay {
    std::vector<Msg> events;  // every reply but the requests
    int samplesSent = 0;
    bool ranOut = false;
};

// Plays the host: one sample per request until the device ends or the samples run out.
Replay replay(RawLink& link, const std::vector<std::uint16_t>& samples, int stopAfter = -1) {
    Replay r;
    link.send(0, code(Command::EmulateLaunch));
    for (;;) {
        const auto m = link.receive(0);
        if (!m) {
            ADD_FAILURE() << "device went quiet after " << r.samplesSent << " samples";
            return r;
        }
        if (m->code != kAdcRequest) {
            r.events.push_back(*m);
            if (m->code == kEndOfLaunch) {
                return r;
            }
            continue;
        }
        if (r.samplesSent == static_cast<int>(samples.size()) || r.samplesSent == stopAfter) {
            r.ranOut = true;
            return r;
        }
        link.send(samples[static_cast<std::size_t>(r.samplesSent++)] & 0x3FFF,
                  code(Command::AdcSample));
    }
}

TEST(SimEmulation, ARecordedFlightReplaysToTheSameEventsItWasRecordedWith) {
    Bench bench;
    const auto flight = bench.device.flights().at(0).flight;
    const Replay r = replay(bench.link, flight.words);
    ASSERT_FALSE(r.ranOut);
    std::vector<std::uint8_t> codes;
    for (const auto& e : r.events) {
        codes.push_back(e.code);
    }
    EXPECT_EQ(codes, (std::vector<std::uint8_t>{14, 17, 15, 16, 19}));
    // The slope of a freshly passed apogee: sinking, slowly.
    const auto slope = static_cast<std::int16_t>(r.events[1].value);
    EXPECT_LT(slope, 0);
    EXPECT_GT(slope, -15);

    const auto seen = bench.device.emulationEvents();
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].sample, flight.launchSample);
    EXPECT_EQ(seen[1].sample, flight.apogeeSample);
    EXPECT_EQ(seen[2].sample, flight.lineASample);
    EXPECT_EQ(seen[3].sample, flight.lineBSample);
    EXPECT_EQ(bench.device.emulationSamples(), r.samplesSent);
    EXPECT_LT(r.samplesSent, static_cast<int>(flight.words.size()));

    // The closing reset is the one reset the device acknowledges.
    bench.link.send(0, code(Command::Reset));
    EXPECT_EQ(bench.link.drain(), (std::vector<Msg>{{0, kComplete}}));
    bench.link.send(0, code(Command::Reset));
    EXPECT_TRUE(bench.link.drain().empty());
}

TEST(SimEmulation, RunningOutOfSamplesEndsWithAnAcknowledgedReset) {
    Bench bench;
    const auto flight = bench.device.flights().at(0).flight;
    std::vector<std::uint16_t> first(flight.words.begin(), flight.words.begin() + 25);
    const Replay r = replay(bench.link, first);
    EXPECT_TRUE(r.ranOut);
    EXPECT_EQ(r.samplesSent, 25);
    EXPECT_TRUE(r.events.empty()) << "still on the pad";
    bench.link.send(0, code(Command::Reset));
    EXPECT_EQ(bench.link.drain(), (std::vector<Msg>{{0, kComplete}}));
}

TEST(SimEmulation, ARestartForgetsTheEarlierFlight) {
    Bench bench;
    const auto flight = bench.device.flights().at(1).flight;
    // Cancelled mid-flight, after the launch was seen.
    replay(bench.link, flight.words, flight.launchSample + 30);
    bench.link.send(0, code(Command::Reset));
    EXPECT_EQ(bench.link.drain(), (std::vector<Msg>{{0, kComplete}}));
    ASSERT_EQ(bench.device.emulationEvents().size(), 1u);

    const Replay again = replay(bench.link, flight.words);
    ASSERT_EQ(again.events.size(), 5u);
    EXPECT_EQ(again.events[0].code, 14);
    EXPECT_EQ(bench.device.emulationEvents().at(0).sample, flight.launchSample);
}

TEST(SimEmulation, ADisabledLineStaysQuietAndSettingsWrittenBeforeAreUsed) {
    Bench bench;
    settings::DeviceSettings s;
    s.lineAMode = static_cast<std::uint8_t>(settings::LineMode::Disabled);
    s.lineBMode = static_cast<std::uint8_t>(settings::LineMode::Time);
    s.lineBValue = 50;
    s.build();
    bench.link.send(0, code(Command::WriteSettings));
    for (const auto byte : s.image) {
        bench.link.send(byte, code(Command::Data));
    }
    ASSERT_EQ(bench.link.drain(), (std::vector<Msg>{{0, kComplete}}));

    const auto flight = bench.device.flights().at(0).flight;
    const Replay r = replay(bench.link, flight.words);
    std::vector<std::uint8_t> codes;
    for (const auto& e : r.events) {
        codes.push_back(e.code);
    }
    EXPECT_EQ(codes, (std::vector<std::uint8_t>{14, 16, 17, 19}));
    const auto seen = bench.device.emulationEvents();
    EXPECT_EQ(seen[1].sample - seen[0].sample, 50);
}

TEST(SimEmulation, SamplesOutsideAnEmulationAreIgnored) {
    Bench bench;
    bench.link.send(13000, code(Command::AdcSample));
    EXPECT_TRUE(bench.link.drain().empty());
    EXPECT_EQ(bench.device.emulationSamples(), 0);
}

}  // namespace
}  // namespace tevusb::device::sim::test
