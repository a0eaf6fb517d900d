// SPDX-License-Identifier: MIT
// The simulated bus: listing, opening, plugging, unplugging and switching to the
// bootloader, with the notifications a watcher relies on.
#include <gtest/gtest.h>

#include <poll.h>

#include <atomic>
#include <thread>

#include "device/sim/sim_codes.h"
#include "sim_test_support.h"
#include "support/wait.h"

namespace tevusb::device::sim::test {
namespace {

std::uint8_t code(Command c) {
    return static_cast<std::uint8_t>(c);
}

bool notified(ChangeNotifier& notifier) {
    pollfd pfd{notifier.fd(), POLLIN, 0};
    return ::poll(&pfd, 1, 0) == 1;
}

TEST(SimBus, TheAltimeterIsListedAsTheSystemWouldListIt) {
    SimBackend app(instantConfig(0));
    const auto list = app.enumerate();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].path, "/dev/hidraw-sim0");
    EXPECT_EQ(list[0].vendorId, 0x03DB);
    EXPECT_EQ(list[0].productId, 2);
    EXPECT_EQ(list[0].versionNumber, 0x0150);

    SimConfig config = instantConfig(0);
    config.bootloader = true;
    SimBackend boot(config);
    EXPECT_EQ(boot.enumerate().at(0).productId, 1);
    EXPECT_EQ(boot.enumerate().at(0).versionNumber, 0x0110);

    config.attached = false;
    SimBackend absent(config);
    EXPECT_TRUE(absent.enumerate().empty());
    EXPECT_EQ(absent.open("/dev/hidraw-sim0"), nullptr);
}

TEST(SimBus, SeveralDevicesKeepTheirOrderAndOnlyAltimetersOpen) {
    SimBackend backend(instantConfig(0));
    backend.addForeignDevice({"/dev/hidraw-keyboard", 0x046D, 0xC31C, 0x0110});
    SimAltimeter& second = backend.addAltimeter(instantConfig(1));
    const auto list = backend.enumerate();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].path, "/dev/hidraw-sim0");
    EXPECT_EQ(list[1].path, "/dev/hidraw-keyboard");
    EXPECT_EQ(list[2].path, "/dev/hidraw-sim1");
    EXPECT_EQ(&backend.altimeter(1), &second);
    EXPECT_EQ(backend.open("/dev/hidraw-keyboard"), nullptr);
    EXPECT_EQ(backend.open("/dev/nothing"), nullptr);

    // Each altimeter answers for itself.
    RawLink one(backend.open("/dev/hidraw-sim0"));
    RawLink two(backend.open("/dev/hidraw-sim1"));
    second.setBatteryTenths(60);
    two.send(0, code(Command::ReadBattery));
    EXPECT_TRUE(one.drain().empty());
    EXPECT_EQ(two.drain().at(0).value, 60);
}

TEST(SimBus, DetachAndAttachAreNotifiedToEveryWatcherAndKillOldHandles) {
    Bench bench;
    const auto watcher = bench.backend->createNotifier();
    const auto other = bench.backend->createNotifier();
    ASSERT_TRUE(watcher && other);
    EXPECT_FALSE(notified(*watcher));

    bench.device.detach();
    EXPECT_TRUE(notified(*watcher));
    watcher->drain();
    EXPECT_FALSE(notified(*watcher));
    EXPECT_TRUE(notified(*other)) << "one watcher draining hides nothing from another";
    EXPECT_TRUE(bench.backend->enumerate().empty());
    EXPECT_FALSE(bench.link.send(0, code(Command::ReadBattery)));
    EXPECT_EQ(bench.backend->open(bench.device.path()), nullptr);

    bench.device.attach();
    EXPECT_TRUE(notified(*watcher));
    EXPECT_EQ(bench.backend->enumerate().size(), 1u);
    // The old descriptor stays dead, as a hidraw node of an unplugged device does.
    std::array<std::uint8_t, 3> buffer{};
    EXPECT_EQ(bench.link.handle().read(buffer.data(), buffer.size(), 0), -1);
    RawLink fresh(bench.backend->open(bench.device.path()));
    fresh.send(0, code(Command::ReadBattery));
    EXPECT_EQ(fresh.drain().size(), 2u);

    // A notifier dropped by its watcher is simply forgotten.
    watcher->drain();
    auto gone = bench.backend->createNotifier();
    gone.reset();
    bench.device.detach();
    EXPECT_TRUE(notified(*watcher));
}

TEST(SimBus, RepliesWaitingAtUnplugAreGoneAfterReplug) {
    Bench bench;
    bench.link.send(0, code(Command::ReadSettings));
    bench.device.detach();
    bench.device.attach();
    RawLink fresh(bench.backend->open(bench.device.path()));
    EXPECT_TRUE(fresh.drain().empty());
    EXPECT_EQ(bench.device.pendingReports(), 0u);
}

TEST(SimBus, SwitchingToTheBootloaderAndBackReEnumerates) {
    Bench bench;
    const auto watcher = bench.backend->createNotifier();
    bench.device.switchToBootloader();
    EXPECT_TRUE(notified(*watcher));
    EXPECT_TRUE(bench.device.inBootloader());
    const auto boot = bench.backend->enumerate();
    ASSERT_EQ(boot.size(), 1u);
    EXPECT_EQ(boot[0].productId, 1);
    EXPECT_EQ(boot[0].versionNumber, 0x0110);
    EXPECT_FALSE(bench.link.send(0, code(Command::Reset))) << "handle of the old mode";

    RawLink loader(bench.backend->open(bench.device.path()));
    EXPECT_FALSE(loader.send(0, code(Command::Reset))) << "4-byte reports do not fit";
    EXPECT_TRUE(loader.sendBoot({1}));
    EXPECT_TRUE(loader.receiveBoot(0).has_value());

    watcher->drain();
    bench.device.switchToApplication();
    EXPECT_TRUE(notified(*watcher));
    EXPECT_EQ(bench.backend->enumerate().at(0).productId, 2);
    RawLink app(bench.backend->open(bench.device.path()));
    app.send(0, code(Command::ReadBattery));
    EXPECT_EQ(app.drain().size(), 2u);

    // Plugged in again with the button held: back as the bootloader.
    bench.device.detach();
    bench.device.switchToBootloader();
    EXPECT_TRUE(bench.device.isAttached());
    EXPECT_EQ(bench.backend->enumerate().at(0).productId, 1);
}

TEST(SimBus, ADetachDuringAWaitingReadFailsIt) {
    Bench bench;
    std::atomic<int> result{1};
    std::thread reader([&] {
        std::array<std::uint8_t, 3> buffer{};
        result = bench.link.handle().read(buffer.data(), buffer.size(), 20000);
    });
    // The reader may or may not be waiting yet; either way it must see the unplug.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    bench.device.detach();
    reader.join();
    EXPECT_EQ(result.load(), -1);

    // An endless wait ends too.
    bench.device.attach();
    RawLink waiting(bench.backend->open(bench.device.path()));
    std::thread endless([&] {
        std::array<std::uint8_t, 3> buffer{};
        result = waiting.handle().read(buffer.data(), buffer.size(), -1);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    bench.device.detach();
    endless.join();
    EXPECT_EQ(result.load(), -1);
}

TEST(SimBus, AWorkerKeepsTalkingWhileTheBusChangesUnderIt) {
    SimConfig config = instantConfig(1);
    config.timing.reportDelay = std::chrono::microseconds(100);
    auto backend = std::make_shared<SimBackend>(config);
    SimAltimeter& device = backend->altimeter();
    const auto watcher = backend->createNotifier();
    std::atomic<bool> stop{false};
    std::atomic<int> completed{0};
    std::thread worker([&] {
        while (!stop) {
            auto handle = backend->open(device.path());
            if (!handle) {
                std::this_thread::yield();
                continue;
            }
            RawLink link(std::move(handle));
            while (!stop && link.send(0, code(Command::ReadSettings))) {
                int got = 0;
                while (got < 18 && link.receive(50)) {
                    ++got;
                }
                if (got == 18) {
                    ++completed;
                } else {
                    break;  // unplugged mid-answer
                }
            }
        }
    });
    // Each plug-in must bring whole answers again before the next unplug cuts the worker
    // off, usually in the middle of an answer since it asks again at once.
    constexpr int kRounds = 40;
    int roundsAnswered = 0;
    for (; roundsAnswered < kRounds; ++roundsAnswered) {
        const int before = completed;
        if (!tevusb::testing::pollUntil([&] { return completed > before; })) {
            break;
        }
        backend->enumerate();
        device.detach();
        watcher->drain();
        device.attach();
    }
    const int afterLast = completed;
    const bool talksAfterLast =
        tevusb::testing::pollUntil([&] { return completed >= afterLast + 3; });
    stop = true;
    worker.join();
    EXPECT_EQ(roundsAnswered, kRounds);
    EXPECT_TRUE(talksAfterLast);
}

}  // namespace
}  // namespace tevusb::device::sim::test
