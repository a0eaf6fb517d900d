// SPDX-License-Identifier: MIT
// Moving reports through an open link: the report id byte, time limits, stale input.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <thread>
#include <vector>

#include "device/hid_link.h"
#include "fake_hid_backend.h"
#include "test_support.h"

namespace tevusb::device::test {
namespace {

// A generous bound for calls limited to a few hundred milliseconds: only a hang fails it.
constexpr long long kHangMs = 2500;

class HidLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        backend->attach("/dev/hidraw7", device);
        link.setDevice({"/dev/hidraw7", 0x03db, 2, 0x0150});
        ASSERT_TRUE(link.open());
    }
    void TearDown() override {
        device->releaseWrites();
        link.close();
        EXPECT_EQ(device->concurrentUse, 0) << "a handle was used by two threads at once";
    }
    // Answers a 4-byte command by echoing its value with code + 1, as the altimeter's
    // replies carry their own code.
    static void echo(FakeDevice& d, const Report& r) {
        if (r.size() == 4) {
            d.send({r[1], r[2], static_cast<std::uint8_t>(r[3] + 1)});
        }
    }

    std::shared_ptr<FakeHidBackend> backend = std::make_shared<FakeHidBackend>();
    std::shared_ptr<FakeDevice> device = std::make_shared<FakeDevice>();
    HidLink link{backend};
};

TEST_F(HidLinkTest, WriteSendsTheWholeBufferWithItsReportIdByte) {
    const std::array<std::uint8_t, 4> message{0, 0x34, 0x12, 7};
    ASSERT_TRUE(link.write(message.data(), message.size(), 3000));
    std::array<std::uint8_t, 65> block{};
    for (std::size_t i = 1; i < block.size(); ++i) {
        block[i] = static_cast<std::uint8_t>(i * 3);
    }
    ASSERT_TRUE(link.write(block.data(), block.size(), 3000));
    const auto written = device->written();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0], Report(message.begin(), message.end()));
    EXPECT_EQ(written[1], Report(block.begin(), block.end()));
}

TEST_F(HidLinkTest, ReadPutsTheReportBehindARestoredReportIdByte) {
    device->send({0x34, 0x12, 5});
    std::array<std::uint8_t, 4> message;
    message.fill(0xAA);
    ASSERT_TRUE(link.read(message.data(), message.size(), 3000));
    EXPECT_EQ(message, (std::array<std::uint8_t, 4>{0, 0x34, 0x12, 5}));

    Report payload(64);
    for (std::size_t i = 0; i < payload.size(); ++i) {
        payload[i] = static_cast<std::uint8_t>(0xFF - i);
    }
    device->send(payload);
    std::array<std::uint8_t, 65> block;
    block.fill(0xAA);
    ASSERT_TRUE(link.read(block.data(), block.size(), 3000));
    EXPECT_EQ(block[0], 0);
    EXPECT_EQ(Report(block.begin() + 1, block.end()), payload);
}

TEST_F(HidLinkTest, ShortReportIsZeroFilledAndLongReportIsCutToTheBuffer) {
    device->send({0x01});
    std::array<std::uint8_t, 4> message;
    message.fill(0xAA);
    ASSERT_TRUE(link.read(message.data(), message.size(), 3000));
    EXPECT_EQ(message, (std::array<std::uint8_t, 4>{0, 1, 0, 0}));

    device->send(Report(64, 0x5A));
    message.fill(0xAA);
    ASSERT_TRUE(link.read(message.data(), message.size(), 3000));
    EXPECT_EQ(message, (std::array<std::uint8_t, 4>{0, 0x5A, 0x5A, 0x5A}));
}

TEST_F(HidLinkTest, UnusableBuffersAreRefused) {
    std::array<std::uint8_t, 1> tiny{};
    EXPECT_FALSE(link.read(tiny.data(), tiny.size(), 100));
    EXPECT_FALSE(link.write(tiny.data(), tiny.size(), 100));
    EXPECT_FALSE(link.read(nullptr, 4, 100));
    EXPECT_FALSE(link.write(nullptr, 4, 100));
    EXPECT_TRUE(device->written().empty());
}

TEST_F(HidLinkTest, ReadWaitsForAReplyWithinItsLimitAndFailsWithoutOne) {
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        device->send({1, 0, 6});
    });
    std::array<std::uint8_t, 4> message{};
    EXPECT_TRUE(link.read(message.data(), message.size(), 3000));
    late.join();
    EXPECT_EQ(message[3], 6);

    const auto ms =
        millisecondsTaken([&] { EXPECT_FALSE(link.read(message.data(), message.size(), 200)); });
    EXPECT_GE(ms, 190);
    EXPECT_LT(ms, kHangMs);
    EXPECT_TRUE(link.isOpen()) << "a time-out leaves the link open";
}

TEST_F(HidLinkTest, ReadErrorFailsWithoutWaitingOutTheLimit) {
    device->readFails = true;
    std::array<std::uint8_t, 4> message{};
    const auto ms =
        millisecondsTaken([&] { EXPECT_FALSE(link.read(message.data(), message.size(), 20000)); });
    EXPECT_LT(ms, kHangMs);
}

TEST_F(HidLinkTest, SlowWriteFailsAtItsLimit) {
    device->writeDelayMs = 1000;
    const std::array<std::uint8_t, 4> message{0, 0, 0, 1};
    const auto ms =
        millisecondsTaken([&] { EXPECT_FALSE(link.write(message.data(), message.size(), 150)); });
    EXPECT_LT(ms, 900);
}

TEST_F(HidLinkTest, HangingWriteIsBoundedAndLaterTransfersAreNeverSentLate) {
    device->writeHangs = true;
    const std::array<std::uint8_t, 4> first{0, 1, 0, 1};
    const std::array<std::uint8_t, 4> second{0, 2, 0, 1};
    const std::array<std::uint8_t, 4> third{0, 3, 0, 1};
    auto ms = millisecondsTaken([&] { EXPECT_FALSE(link.write(first.data(), 4, 150)); });
    EXPECT_LT(ms, kHangMs);
    // The handle is still busy with the first write: these wait their limit and fail.
    std::array<std::uint8_t, 4> reply{};
    ms = millisecondsTaken([&] {
        EXPECT_FALSE(link.write(second.data(), 4, 100));
        EXPECT_FALSE(link.read(reply.data(), 4, 100));
    });
    EXPECT_LT(ms, kHangMs);

    device->writeHangs = false;
    device->releaseWrites();
    EXPECT_TRUE(link.write(third.data(), 4, 3000));
    // The first write was already inside the device; the second had been given up before
    // it began and must never reach the device.
    EXPECT_EQ(device->written(), (std::vector<Report>{Report(first.begin(), first.end()),
                                                      Report(third.begin(), third.end())}));
}

TEST_F(HidLinkTest, InputLeftFromAnAbandonedExchangeIsNeverTakenForTheNextReply) {
    device->setResponder(echo);
    std::array<std::uint8_t, 4> reply{};
    // A command whose reply came too late: the caller gave up...
    EXPECT_FALSE(link.read(reply.data(), 4, 50));
    // ...and the stale replies arrive afterwards.
    device->send({0xEE, 0xEE, 12});
    device->send({0xEF, 0xEE, 12});
    const std::array<std::uint8_t, 4> command{0, 0x21, 0x43, 7};
    ASSERT_TRUE(link.write(command.data(), 4, 3000));
    ASSERT_TRUE(link.read(reply.data(), 4, 3000));
    EXPECT_EQ(reply, (std::array<std::uint8_t, 4>{0, 0x21, 0x43, 8}));
    EXPECT_FALSE(link.read(reply.data(), 4, 50)) << "nothing else may be left";
}

TEST_F(HidLinkTest, SeveralRepliesToOneCommandAllArriveInOrder) {
    // Like a packet read: one command, a stream of replies; nothing is thrown away
    // between reads.
    device->setResponder([](FakeDevice& d, const Report& r) {
        if (r[3] == 3 && r[1] == 9) {
            for (std::uint8_t i = 0; i < 5; ++i) {
                d.send({i, 0, 11});
            }
        }
    });
    const std::array<std::uint8_t, 4> first{0, 0, 0, 3};
    const std::array<std::uint8_t, 4> index{0, 9, 0, 3};
    ASSERT_TRUE(link.write(first.data(), 4, 3000));
    ASSERT_TRUE(link.write(index.data(), 4, 3000));
    for (std::uint8_t i = 0; i < 5; ++i) {
        std::array<std::uint8_t, 4> reply{};
        ASSERT_TRUE(link.read(reply.data(), 4, 3000));
        EXPECT_EQ(reply[1], i);
    }
    std::array<std::uint8_t, 4> none{};
    EXPECT_FALSE(link.read(none.data(), 4, 50));
}

TEST_F(HidLinkTest, OpeningAnOpenLinkKeepsItsHandle) {
    EXPECT_TRUE(link.open());
    EXPECT_TRUE(link.isOpen());
    EXPECT_EQ(backend->opens(), 1);
    EXPECT_EQ(device->liveHandles, 1);
}

TEST_F(HidLinkTest, ClosedLinkRefusesTransfersAndReopensWithAFreshHandle) {
    link.close();
    link.close();  // a second close touches nothing
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(pollUntil([&] { return device->liveHandles == 0; }));
    std::array<std::uint8_t, 4> message{0, 1, 2, 3};
    EXPECT_FALSE(link.write(message.data(), 4, 100));
    EXPECT_FALSE(link.read(message.data(), 4, 100));

    device->setResponder(echo);
    ASSERT_TRUE(link.open());
    EXPECT_EQ(backend->opens(), 2);
    ASSERT_TRUE(link.write(message.data(), 4, 3000));
    ASSERT_TRUE(link.read(message.data(), 4, 3000));
    EXPECT_EQ(message, (std::array<std::uint8_t, 4>{0, 1, 2, 4}));
}

}  // namespace
}  // namespace tevusb::device::test
