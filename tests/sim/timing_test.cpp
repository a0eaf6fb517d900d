// SPDX-License-Identifier: MIT
// Report pacing and the caller's time limits.
#include <gtest/gtest.h>

#include <thread>

#include "device/sim/sim_codes.h"
#include "sim_test_support.h"

namespace tevusb::device::sim::test {
namespace {

using std::chrono::milliseconds;
constexpr std::uint8_t kComplete = 5;

std::uint8_t code(Command c) {
    return static_cast<std::uint8_t>(c);
}

TEST(SimTimingModel, DefaultTimingIsAFullSpeedInterruptEndpoint) {
    const SimTiming timing;
    EXPECT_EQ(timing.reportDelay, std::chrono::microseconds(1000));
    EXPECT_EQ(timing.fireDuration, milliseconds(2000));
    SimBackend backend;
    EXPECT_EQ(backend.altimeter().timing().reportDelay, std::chrono::microseconds(1000));
    EXPECT_EQ(backend.altimeter().flights().size(), 3u);
}

TEST(SimTimingModel, AReadWithNothingToComeReturnsZeroAtItsLimit) {
    Bench bench;
    std::array<std::uint8_t, 3> buffer{};
    EXPECT_EQ(bench.link.handle().read(buffer.data(), buffer.size(), 0), 0);
    EXPECT_EQ(bench.link.handle().read(buffer.data(), buffer.size(), 30), 0);
}

TEST(SimTimingModel, ADelayedReportIsNotThereBeforeItsTimeButArrivesWithinTheLimit) {
    Bench bench;
    SimTiming slow = SimTiming::instant();
    slow.reportDelay = milliseconds(400);
    bench.device.setTiming(slow);
    bench.link.send(0, code(Command::ReadBattery));
    EXPECT_FALSE(bench.link.receive(0).has_value());
    EXPECT_EQ(bench.link.receive(5000), (Msg{91, 0}));
    // The second report follows one delay after the first, not at once.
    EXPECT_FALSE(bench.link.receive(0).has_value());
    EXPECT_EQ(bench.link.receive(5000), (Msg{0, kComplete}));
}

TEST(SimTimingModel, FiringHoldsTheCompleteBackForTheFiringTime) {
    Bench bench;
    SimTiming timing = SimTiming::instant();
    timing.fireDuration = milliseconds(400);
    bench.device.setTiming(timing);
    bench.link.send(0, code(Command::FireLines));
    EXPECT_EQ(bench.device.fireCount(), 1);
    EXPECT_TRUE(bench.device.linesFiring());
    EXPECT_FALSE(bench.link.receive(0).has_value());
    EXPECT_EQ(bench.link.receive(5000), (Msg{0, kComplete}));
    EXPECT_FALSE(bench.device.linesFiring()) << "off again by the time it says so";
}

TEST(SimTimingModel, AResetStopsTheRepliesNotYetSent) {
    Bench bench;
    SimTiming slow = SimTiming::instant();
    slow.reportDelay = milliseconds(40);
    bench.device.setTiming(slow);
    bench.link.send(0, code(Command::ReadPacket));
    bench.link.send(0, code(Command::ReadPacket));
    ASSERT_TRUE(bench.link.receive(5000).has_value());
    bench.link.send(0, code(Command::Reset));
    // Of the 32 replies left, only those already on the bus can still be read.
    int late = 0;
    while (bench.link.receive(200)) {
        ++late;
    }
    EXPECT_LT(late, 5);
    EXPECT_EQ(bench.device.pendingReports(), 0u);
}

TEST(SimTimingModel, ABlockingReadWakesForAReportFromAnotherThread) {
    Bench bench;
    std::thread sender([&] {
        std::this_thread::sleep_for(milliseconds(50));
        bench.device.setBatteryTenths(77);
        RawLink other(bench.backend->open(bench.device.path()));
        other.send(0, code(Command::ReadBattery));
    });
    EXPECT_EQ(bench.link.receive(-1), (Msg{77, 0}));
    sender.join();
}

TEST(SimTimingModel, ASamplePaceSpacesTheEmulationsRequests) {
    Bench bench;
    SimTiming paced = SimTiming::instant();
    paced.samplePace = std::chrono::milliseconds(300);
    bench.device.setTiming(paced);
    ASSERT_TRUE(bench.link.send(0, static_cast<std::uint8_t>(Command::EmulateLaunch)));
    EXPECT_FALSE(bench.link.receive(0).has_value());
    EXPECT_EQ(bench.link.receive(5000), (Msg{0, 13}));
    bench.link.send(13000, static_cast<std::uint8_t>(Command::AdcSample));
    EXPECT_FALSE(bench.link.receive(0).has_value());
    EXPECT_EQ(bench.link.receive(5000), (Msg{0, 13}));
}

}  // namespace
}  // namespace tevusb::device::sim::test
