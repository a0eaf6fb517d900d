// SPDX-License-Identifier: MIT
// Faults a test can arm, each seen through raw reports.
#include <gtest/gtest.h>

#include <poll.h>

#include <atomic>
#include <thread>

#include "device/sim/sim_codes.h"
#include "sim_test_support.h"

namespace tevusb::device::sim::test {
namespace {

constexpr std::uint8_t kComplete = 5;
constexpr std::uint8_t kDataWord = 11;

std::uint8_t code(Command c) {
    return static_cast<std::uint8_t>(c);
}

void readPacket(RawLink& link, std::uint16_t index) {
    link.send(0, code(Command::ReadPacket));
    link.send(index, code(Command::ReadPacket));
}

TEST(SimFaults, NoReplyToTheNextCommandOnly) {
    Bench bench;
    bench.device.injectNoReplyToNextCommand();
    bench.link.send(0, code(Command::Reset));  // a reset has no reply to lose
    bench.link.send(0, code(Command::ReadBattery));
    EXPECT_TRUE(bench.link.drain().empty());
    bench.link.send(0, code(Command::ReadBattery));
    EXPECT_EQ(bench.link.drain().size(), 2u);
}

TEST(SimFaults, SilenceFromReportNLastsUntilCleared) {
    Bench bench;
    bench.device.injectSilenceFromReport(5);
    bench.link.send(0, code(Command::ReadSettings));
    EXPECT_EQ(bench.link.drain().size(), 5u);
    bench.link.send(0, code(Command::ReadBattery));
    EXPECT_TRUE(bench.link.drain().empty());
    bench.device.clearFaults();
    bench.link.send(0, code(Command::ReadBattery));
    EXPECT_EQ(bench.link.drain().size(), 2u);
}

TEST(SimFaults, WrongCodeReplacesTheCodeOfOneReport) {
    Bench bench;
    bench.device.injectWrongCode(3, 12);
    readPacket(bench.link, 0);
    const auto replies = bench.link.drain();
    ASSERT_EQ(replies.size(), 33u);
    for (std::size_t k = 0; k < 32; ++k) {
        EXPECT_EQ(replies[k].code, k == 3 ? 12 : kDataWord) << k;
    }
    EXPECT_EQ(replies[3].value, bench.device.packet(0).reading(2)) << "value kept";
    readPacket(bench.link, 0);
    EXPECT_EQ(bench.link.drain()[3].code, kDataWord) << "fires once";
}

TEST(SimFaults, AStrayReportComesOnTopOfTheAnswer) {
    Bench bench;
    bench.device.injectStrayReport(5, 0x1234, 12);
    readPacket(bench.link, 0);
    const auto replies = bench.link.drain();
    ASSERT_EQ(replies.size(), 34u);
    EXPECT_EQ(replies[5], (Msg{0x1234, 12}));
    const auto packet = bench.device.packet(0);
    EXPECT_EQ(replies[6], (Msg{packet.reading(4), kDataWord})) << "word 5 follows it";
    EXPECT_EQ(replies[33], (Msg{0, kComplete}));
    EXPECT_EQ(bench.device.reportsProduced(), 33u) << "the stray has no number";
}

TEST(SimFaults, UnplugAtWriteNDropsTheDeviceBeforeItActs) {
    SimConfig config;
    config.bootloader = true;
    Bench bench(0, config);
    bench.device.injectUnplugAtWrite(2);
    EXPECT_TRUE(bench.link.sendBoot({2}));
    EXPECT_TRUE(bench.link.sendBoot({0x40, 0}));
    EXPECT_FALSE(bench.link.sendBoot(std::vector<std::uint8_t>(64, 0x12)));
    EXPECT_FALSE(bench.device.isAttached());
    EXPECT_TRUE(bench.device.writtenBlocks().empty());
    EXPECT_EQ(bench.device.bootReportsReceived(), 2);
}

TEST(SimFaults, EarlyCompleteCutsTheAnswerShort) {
    Bench bench;
    bench.device.injectEarlyComplete(10);
    readPacket(bench.link, 1);
    const auto replies = bench.link.drain();
    ASSERT_EQ(replies.size(), 11u);
    for (std::size_t k = 0; k < 10; ++k) {
        EXPECT_EQ(replies[k].code, kDataWord);
    }
    EXPECT_EQ(replies[10], (Msg{0, kComplete}));
}

TEST(SimFaults, GarbageReplacesAReportWithGivenOrRandomBytes) {
    Bench bench;
    bench.device.injectGarbage(0, {0x42});
    bench.device.injectGarbage(1);
    bench.link.send(0, code(Command::ReadBattery));
    std::array<std::uint8_t, 8> buffer{};
    ASSERT_EQ(bench.link.handle().read(buffer.data(), buffer.size(), 0), 1);
    EXPECT_EQ(buffer[0], 0x42);
    const auto random = bench.link.receive(0);
    ASSERT_TRUE(random.has_value());
    EXPECT_NE(*random, (Msg{0, kComplete}));
}

TEST(SimFaults, UnplugAtReportNDropsTheDeviceWhenThatReportIsDue) {
    Bench bench;
    const auto watcher = bench.backend->createNotifier();
    bench.device.injectUnplugAtReport(4);
    readPacket(bench.link, 0);
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(bench.link.receive(0).has_value()) << k;
    }
    std::array<std::uint8_t, 3> buffer{};
    EXPECT_EQ(bench.link.handle().read(buffer.data(), buffer.size(), 100), -1);
    EXPECT_FALSE(bench.device.isAttached());
    EXPECT_TRUE(bench.backend->enumerate().empty());
#if defined(_WIN32)
    // No notifier on Windows: WM_DEVICECHANGE and the watcher's comparison take its place.
    EXPECT_EQ(watcher, nullptr);
#else
    ASSERT_NE(watcher, nullptr);
    pollfd pfd{watcher->fd(), POLLIN, 0};
    EXPECT_EQ(::poll(&pfd, 1, 0), 1);
#endif
    EXPECT_FALSE(bench.link.send(0, code(Command::Reset)));
}

TEST(SimFaults, OtherVersionsAndARefusedOpen) {
    Bench bench;
    bench.device.setFirmwareVersion(0x0151);
    EXPECT_EQ(bench.backend->enumerate().at(0).versionNumber, 0x0151);
    bench.device.setFirmwareVersion(0x0140);
    EXPECT_EQ(bench.backend->enumerate().at(0).versionNumber, 0x0140);

    bench.device.setRefuseOpen(true);
    EXPECT_EQ(bench.backend->open(bench.device.path()), nullptr);
    EXPECT_EQ(bench.backend->enumerate().size(), 1u) << "still listed";
    bench.device.clearFaults();
    EXPECT_NE(bench.backend->open(bench.device.path()), nullptr);
}

TEST(SimFaults, StalledWritesFailAtTheirLimitAndAreNotDelivered) {
    Bench bench;
    bench.device.injectWriteStallFrom(1);
    EXPECT_TRUE(bench.link.send(0, code(Command::Reset)));
    const std::array<std::uint8_t, 4> battery{0, 0, 0, code(Command::ReadBattery)};
    EXPECT_EQ(bench.link.handle().write(battery.data(), battery.size(), 30), -1);
    EXPECT_EQ(bench.link.handle().write(battery.data(), battery.size(), 0), -1);
    EXPECT_TRUE(bench.link.drain().empty());
    EXPECT_EQ(bench.device.receivedMessages().size(), 1u);

    // A write waiting without a limit is released by the unplug.
    std::atomic<int> result{0};
    std::thread writer([&] { result = bench.link.handle().write(battery.data(), 4, -1); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    bench.device.detach();
    writer.join();
    EXPECT_EQ(result.load(), -1);

    bench.device.attach();
    bench.device.clearFaults();
    RawLink fresh(bench.backend->open(bench.device.path()));
    EXPECT_TRUE(fresh.send(0, code(Command::ReadBattery)));
    EXPECT_EQ(fresh.drain().size(), 2u);
}

}  // namespace
}  // namespace tevusb::device::sim::test
