// SPDX-License-Identifier: MIT
#include "ui/device_change_deferral.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/log_capture.h"
#include "support/wait.h"

namespace tevusb::ui {
namespace {

using tevusb::testing::waitUntil;

DialogMessage change(std::uintptr_t kind, const char* path) {
    return {Message::DeviceChange, kind, 0, path};
}

TEST(DeviceChangeDeferralTest, HeldMessagesComeInOrderWhenMarkedIdle) {
    tevusb::testing::LogCapture log;
    DeviceChangeDeferral changes([] { return false; });
    std::vector<std::string> handled;
    const auto handle = [&](const DialogMessage& m) { handled.push_back(m.devicePath); };

    EXPECT_FALSE(changes.defer(change(kDeviceArrival, "idle"), handle));
    changes.setBusy(true);
    EXPECT_FALSE(changes.defer({Message::Command, 1, 0, {}}, handle));  // not a device change
    EXPECT_TRUE(changes.defer(change(kDeviceArrival, "first"), handle));
    EXPECT_TRUE(changes.defer(change(kDeviceRemoveComplete, "second"), handle));
    EXPECT_TRUE(handled.empty());
    EXPECT_EQ(log.count("Device change held until the device operation ends."), 2);

    changes.setBusy(false);
    EXPECT_EQ(handled, (std::vector<std::string>{"first", "second"}));
    changes.setBusy(false);  // nothing is handed on twice
    EXPECT_EQ(handled.size(), 2u);
}

TEST(DeviceChangeDeferralTest, OneCheckRunsOnceTheWorkerHasEnded) {
    bool running = true;
    DeviceChangeDeferral changes([&] { return running; });
    int firstChecks = 0;
    int lastChecks = 0;
    changes.deferUntilWorkerEnded([&] { ++firstChecks; });
    changes.deferUntilWorkerEnded([&] { ++lastChecks; });
    // Marking idle does not release a check while the worker still runs.
    changes.setBusy(false);
    waitUntil([] { return false; }, 3 * DeviceChangeDeferral::kWorkerPollMs);
    EXPECT_EQ(lastChecks, 0);

    running = false;
    ASSERT_TRUE(waitUntil([&] { return lastChecks == 1; }));
    waitUntil([] { return false; }, 2 * DeviceChangeDeferral::kWorkerPollMs);
    EXPECT_EQ(lastChecks, 1);
    EXPECT_EQ(firstChecks, 0);  // replaced by the later one
}

TEST(DeviceChangeDeferralTest, TheWorkersLastCallReleasesItsCheckAtOnce) {
    // The worker's thread is still on its last lines; its end was heard all the same.
    DeviceChangeDeferral changes([] { return true; });
    std::vector<std::string> order;
    changes.setBusy(true);
    changes.defer(change(kDeviceRemoveComplete, "message"),
                  [&](const DialogMessage& m) { order.push_back(m.devicePath); });
    changes.deferUntilWorkerEnded([&] { order.emplace_back("check"); });
    changes.workerEnded();
    EXPECT_EQ(order, std::vector<std::string>{"check"}) << "a busy dialog's messages stay held";
    changes.workerEnded();
    EXPECT_EQ(order.size(), 1u) << "a check runs once";
    changes.setBusy(false);
    EXPECT_EQ(order, (std::vector<std::string>{"check", "message"}));
}

TEST(DeviceChangeDeferralTest, AReleasedMessageMayHoldACheckForTheFinishingWorker) {
    bool running = true;
    DeviceChangeDeferral changes([&] { return running; });
    int checks = 0;
    changes.setBusy(true);
    ASSERT_TRUE(changes.defer(change(kDeviceArrival, "a"), [&](const DialogMessage&) {
        changes.deferUntilWorkerEnded([&] { ++checks; });
    }));
    changes.setBusy(false);
    EXPECT_EQ(checks, 0);
    running = false;
    ASSERT_TRUE(waitUntil([&] { return checks == 1; }));
}

}  // namespace
}  // namespace tevusb::ui
