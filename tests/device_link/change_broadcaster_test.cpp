// SPDX-License-Identifier: MIT
// The notifier hub that backends without system hot-plug events use.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "device/change_broadcaster.h"
#include "fake_hid_backend.h"

namespace tevusb::device::test {
namespace {

TEST(ChangeBroadcaster, SignalsEveryNotifierUntilItIsDrained) {
    ChangeBroadcaster hub;
    auto a = hub.createNotifier();
    auto b = hub.createNotifier();
    ASSERT_TRUE(a && b);
    EXPECT_NE(a->fd(), b->fd());
    EXPECT_FALSE(readable(a->fd(), 0));
    hub.notify();
    EXPECT_TRUE(readable(a->fd(), 0));
    EXPECT_TRUE(readable(b->fd(), 0));
    a->drain();
    EXPECT_FALSE(readable(a->fd(), 0));
    EXPECT_TRUE(readable(b->fd(), 0)) << "draining one notifier must not drain another";
    a->drain();  // draining an empty notifier returns at once
}

TEST(ChangeBroadcaster, AFloodOfChangesNeverBlocksTheSignallingThread) {
    ChangeBroadcaster hub;
    auto notifier = hub.createNotifier();
    ASSERT_TRUE(notifier);
    // Far more than a pipe holds: notify() must not block on the full pipe.
    for (int i = 0; i < 200000; ++i) {
        hub.notify();
    }
    EXPECT_TRUE(readable(notifier->fd(), 0));
    notifier->drain();
    EXPECT_FALSE(readable(notifier->fd(), 0));
}

TEST(ChangeBroadcaster, NotifiersAndHubMayGoInAnyOrderAndFromAnyThread) {
    auto hub = std::make_unique<ChangeBroadcaster>();
    auto kept = hub->createNotifier();
    hub->createNotifier().reset();  // a watcher that went away
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 100; ++i) {
                hub->notify();
                hub->createNotifier().reset();
            }
        });
    }
    for (auto& t : threads) {
        t.join();
    }
    hub.reset();
    ASSERT_TRUE(kept);
    EXPECT_TRUE(readable(kept->fd(), 0));
    kept->drain();
    EXPECT_FALSE(readable(kept->fd(), 0));
}

}  // namespace
}  // namespace tevusb::device::test
