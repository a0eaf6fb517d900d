// SPDX-License-Identifier: MIT
// The hidapi backend on this machine, without an altimeter attached.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "device/device_watcher.h"
#include "device/hid_link.h"
#include "device/hidapi_backend.h"
#include "fake_hid_backend.h"
#include "test_support.h"

namespace tevusb::device::test {
namespace {

TEST(HidapiBackend, InitialisesOnceAndListsEachPathOnce) {
    ASSERT_TRUE(initHidapi());
    ASSERT_TRUE(initHidapi());
    HidapiBackend backend;
    const auto list = backend.enumerate();
    std::set<std::string> paths;
    for (const auto& info : list) {
        EXPECT_FALSE(info.path.empty());
        EXPECT_TRUE(paths.insert(info.path).second) << info.path << " listed twice";
    }
}

TEST(HidapiBackend, AMissingPathDoesNotOpen) {
    HidapiBackend backend;
    EXPECT_EQ(backend.open("/dev/tevusb-no-such-hidraw"), nullptr);
    EXPECT_EQ(backend.open(""), nullptr);

    HidLink link(std::make_shared<HidapiBackend>());
    link.setDevice({"/dev/tevusb-no-such-hidraw", 0x03db, 2, 0x0150});
    LogCapture log;
    EXPECT_FALSE(link.open());
    EXPECT_FALSE(link.isOpen());
    EXPECT_NE(log.text().find("Cant get USB file handle. The file is locked.\n"),
              std::string::npos);
}

TEST(HidapiBackend, WatcherStartsQuietWithOrWithoutUdevEvents) {
    auto backend = std::make_shared<HidapiBackend>();
    DeviceWatcher watcher(backend);
    // A container may have no netlink uevents; the periodic fallback then stands in.
    EXPECT_GT(watcher.fallbackIntervalMs(), 0);
    EXPECT_TRUE(watcher.poll().empty());
    if (watcher.fd() >= 0) {
        // Nothing is plugged in here; a drain with nothing pending must not block.
        EXPECT_TRUE(watcher.poll().empty());
    }
}

}  // namespace
}  // namespace tevusb::device::test
