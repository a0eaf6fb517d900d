// SPDX-License-Identifier: MIT
// Arrival and removal of HID interfaces, through a backend's notifier and through the
// periodic comparison alone.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "device/device_watcher.h"
#include "fake_hid_backend.h"

namespace tevusb::device::test {
namespace {

using Type = DeviceWatcher::EventType;

const HidDeviceInfo kMouse{"/dev/hidraw0", 0x046d, 0xc077, 0x0100};
const HidDeviceInfo kAltimeter{"/dev/hidraw1", 0x03db, 0x0002, 0x0150};
const HidDeviceInfo kBootloader{"/dev/hidraw1", 0x03db, 0x0001, 0x0110};
const HidDeviceInfo kSecond{"/dev/hidraw2", 0x03db, 0x0002, 0x0151};

struct Seen {
    Type type;
    std::string path;
    std::uint16_t productId;
    bool operator==(const Seen&) const = default;
};

std::vector<Seen> seen(const std::vector<DeviceWatcher::Event>& events) {
    std::vector<Seen> out;
    for (const auto& e : events) {
        out.push_back({e.type, e.device.path, e.device.productId});
    }
    return out;
}

class DeviceWatcherTest : public ::testing::TestWithParam<bool> {
  protected:
    DeviceWatcherTest() {
        backend->setNotifierSupport(GetParam());
        backend->setInterfaces({kMouse, kAltimeter});
        watcher = std::make_unique<DeviceWatcher>(backend);
    }
    // What a GUI does: poll when the fd says so or the fallback timer fires.
    std::vector<Seen> change(std::vector<HidDeviceInfo> now) {
        backend->setInterfaces(std::move(now));
        backend->notifyChange();
        if (watcher->fd() >= 0) {
            EXPECT_TRUE(readable(watcher->fd(), 1000)) << "the change was not signalled";
        }
        return seen(watcher->poll());
    }
    std::shared_ptr<FakeHidBackend> backend = std::make_shared<FakeHidBackend>();
    std::unique_ptr<DeviceWatcher> watcher;
};

TEST_P(DeviceWatcherTest, FirstPollOnlyTakesNoteOfWhatIsThere) {
    EXPECT_EQ(watcher->fd() >= 0, GetParam());
    EXPECT_GT(watcher->fallbackIntervalMs(), 0);
    EXPECT_TRUE(watcher->poll().empty());
    EXPECT_TRUE(watcher->poll().empty());
}

TEST_P(DeviceWatcherTest, ReportsArrivalsAndRemovalsWithTheirIdentity) {
    ASSERT_TRUE(watcher->poll().empty());
    EXPECT_EQ(change({kMouse, kAltimeter, kSecond}),
              (std::vector<Seen>{{Type::Arrival, "/dev/hidraw2", 0x0002}}));
    EXPECT_EQ(change({kMouse, kSecond}),
              (std::vector<Seen>{{Type::Removal, "/dev/hidraw1", 0x0002}}));
    // Removals first, so that a dialog closes its link before it connects anew.
    EXPECT_EQ(change({kAltimeter}), (std::vector<Seen>{{Type::Removal, "/dev/hidraw0", 0xc077},
                                                       {Type::Removal, "/dev/hidraw2", 0x0002},
                                                       {Type::Arrival, "/dev/hidraw1", 0x0002}}));
    EXPECT_TRUE(watcher->poll().empty());
}

TEST_P(DeviceWatcherTest, ARestartIntoTheBootloaderOnTheSameNodeIsARemovalAndAnArrival) {
    ASSERT_TRUE(watcher->poll().empty());
    EXPECT_EQ(change({kMouse, kBootloader}),
              (std::vector<Seen>{{Type::Removal, "/dev/hidraw1", 0x0002},
                                 {Type::Arrival, "/dev/hidraw1", 0x0001}}));
}

TEST_P(DeviceWatcherTest, AnInterfaceListedTwiceIsOneDevice) {
    ASSERT_TRUE(watcher->poll().empty());
    EXPECT_EQ(change({kMouse, kAltimeter, kSecond, kSecond}),
              (std::vector<Seen>{{Type::Arrival, "/dev/hidraw2", 0x0002}}));
    EXPECT_EQ(change({kMouse, kAltimeter, kSecond}), std::vector<Seen>{});
}

INSTANTIATE_TEST_SUITE_P(NotifierAndFallback, DeviceWatcherTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Notifier" : "Fallback"; });

TEST(DeviceWatcherNotifier, PollConsumesTheSignal) {
    auto backend = std::make_shared<FakeHidBackend>();
    DeviceWatcher watcher(backend);
    ASSERT_GE(watcher.fd(), 0);
    watcher.poll();
    backend->notifyChange();
    ASSERT_TRUE(readable(watcher.fd(), 1000));
    watcher.poll();
    EXPECT_FALSE(readable(watcher.fd(), 0)) << "a GUI would spin on a signal left behind";
}

TEST(DeviceWatcherNotifier, EveryWatcherOfOneBackendSeesEachChange) {
    auto backend = std::make_shared<FakeHidBackend>();
    backend->setInterfaces({kMouse});
    DeviceWatcher first(backend);
    DeviceWatcher second(backend);
    first.poll();
    second.poll();
    backend->setInterfaces({kMouse, kAltimeter});
    backend->notifyChange();
    ASSERT_TRUE(readable(first.fd(), 1000));
    EXPECT_EQ(first.poll().size(), 1u);
    // The first watcher's poll must not have eaten the second's signal.
    ASSERT_TRUE(readable(second.fd(), 1000));
    EXPECT_EQ(second.poll().size(), 1u);
}

TEST(DeviceWatcherNotifier, WithoutABackendNothingHappens) {
    DeviceWatcher watcher(nullptr);
    EXPECT_EQ(watcher.fd(), -1);
    EXPECT_TRUE(watcher.poll().empty());
    EXPECT_TRUE(watcher.poll().empty());
}

}  // namespace
}  // namespace tevusb::device::test
