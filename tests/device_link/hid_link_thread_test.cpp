// SPDX-License-Identifier: MIT
// The window thread closing the link under a worker's transfer: the transfer fails at
// once, the window thread is not held up, and the handle goes when nothing uses it.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <memory>
#include <thread>

#include "device/hid_link.h"
#include "fake_hid_backend.h"
#include "test_support.h"

namespace tevusb::device::test {
namespace {

constexpr long long kHangMs = 2500;

class HidLinkThreadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        backend->attach("/dev/hidraw2", device);
        link.setDevice({"/dev/hidraw2", 0x03db, 2, 0x0150});
        ASSERT_TRUE(link.open());
    }
    void TearDown() override {
        device->releaseWrites();
        if (worker.joinable()) {
            worker.join();
        }
        EXPECT_EQ(device->concurrentUse, 0) << "a handle was used by two threads at once";
    }

    std::shared_ptr<FakeHidBackend> backend = std::make_shared<FakeHidBackend>();
    std::shared_ptr<FakeDevice> device = std::make_shared<FakeDevice>();
    HidLink link{backend};
    std::thread worker;
    std::atomic<bool> finished{false};
    std::atomic<bool> result{true};
};

TEST_F(HidLinkThreadTest, CloseDuringABlockedReadFailsItPromptly) {
    worker = std::thread([&] {
        std::array<std::uint8_t, 4> reply{};
        result = link.read(reply.data(), reply.size(), 20000);
        finished = true;
    });
    ASSERT_TRUE(pollUntil([&] { return device->inside > 0; })) << "the read never began";
    const auto closeMs = millisecondsTaken([&] { link.close(); });
    EXPECT_LT(closeMs, kHangMs);
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(pollUntil([&] { return finished.load(); }, static_cast<int>(kHangMs)));
    EXPECT_FALSE(result);
    EXPECT_TRUE(pollUntil([&] { return device->liveHandles == 0; }));
    // A reply arriving now goes nowhere: the worker's buffer is gone with its stack frame.
    device->send({1, 2, 3});
}

TEST_F(HidLinkThreadTest, CloseDuringAHangingWriteKeepsTheHandleUntilTheWriteReturns) {
    device->writeHangs = true;
    worker = std::thread([&] {
        const std::array<std::uint8_t, 4> command{0, 0, 0, 1};
        result = link.write(command.data(), command.size(), 20000);
        finished = true;
    });
    ASSERT_TRUE(device->waitUntilWriteHangs(2000));
    const auto closeMs = millisecondsTaken([&] { link.close(); });
    EXPECT_LT(closeMs, kHangMs);
    EXPECT_TRUE(pollUntil([&] { return finished.load(); }, static_cast<int>(kHangMs)));
    EXPECT_FALSE(result);
    // The write is still inside the backend: its handle must not be released under it.
    EXPECT_EQ(device->liveHandles, 1);
    device->releaseWrites();
    EXPECT_TRUE(pollUntil([&] { return device->liveHandles == 0; }));
}

TEST_F(HidLinkThreadTest, ReopenWhileAnAbandonedWriteStillHangsUsesANewHandle) {
    device->writeHangs = true;
    const std::array<std::uint8_t, 4> command{0, 0, 0, 1};
    EXPECT_FALSE(link.write(command.data(), command.size(), 100));
    link.close();
    device->writeHangs = false;
    // The stuck handle belongs to the abandoned transfer; a connect opens another one.
    ASSERT_TRUE(link.open());
    EXPECT_EQ(device->liveHandles, 2);
    device->releaseWrites();
    EXPECT_TRUE(link.write(command.data(), command.size(), 3000));
    EXPECT_TRUE(pollUntil([&] { return device->liveHandles == 1; }));
}

TEST_F(HidLinkThreadTest, ACloseDuringAConnectsOpenLeavesTheLinkClosed) {
    link.close();
    // The window thread handles a removal while the worker's open is under way.
    backend->duringOpen = [&] { link.close(); };
    EXPECT_FALSE(link.open());
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(pollUntil([&] { return device->liveHandles == 0; }));
    backend->duringOpen = nullptr;
    EXPECT_TRUE(link.open());
}

TEST_F(HidLinkThreadTest, WindowThreadQueriesRaceAWorkersExchangesSafely) {
    device->setResponder([](FakeDevice& d, const Report& r) { d.send({r[1], r[2], 5}); });
    worker = std::thread([&] {
        bool ok = true;
        for (int i = 0; i < 200 && ok; ++i) {
            const std::array<std::uint8_t, 4> command{0, static_cast<std::uint8_t>(i), 0, 2};
            std::array<std::uint8_t, 4> reply{};
            ok = link.write(command.data(), 4, 3000) && link.read(reply.data(), 4, 3000) &&
                 reply[1] == command[1];
        }
        result = ok;
        finished = true;
    });
    // Meanwhile the window thread refreshes its controls and checks removals.
    LogCapture log;
    while (!finished) {
        EXPECT_TRUE(link.isOpen());
        EXPECT_EQ(link.device().path, "/dev/hidraw2");
        EXPECT_FALSE(link.isSameDevice("/dev/hidraw9"));
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    EXPECT_TRUE(result);
}

TEST_F(HidLinkThreadTest, CloseAtRandomMomentsOfAnExchangeNeverBreaksTheLink) {
    device->setResponder([](FakeDevice& d, const Report& r) { d.send({r[1], r[2], 5}); });
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(link.open());
        finished = false;
        std::thread exchange([&] {
            for (int i = 0; i < 50; ++i) {
                const std::array<std::uint8_t, 4> command{0, 1, 0, 2};
                std::array<std::uint8_t, 4> reply{};
                if (!link.write(command.data(), 4, 3000) || !link.read(reply.data(), 4, 3000)) {
                    break;
                }
            }
            finished = true;
        });
        std::this_thread::sleep_for(std::chrono::microseconds(200 * round));
        link.close();
        exchange.join();
        EXPECT_TRUE(finished);
    }
    EXPECT_TRUE(pollUntil([&] { return device->liveHandles == 0; }));
}

}  // namespace
}  // namespace tevusb::device::test
