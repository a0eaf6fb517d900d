// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/wait.h"
#include "ui/worker_thread.h"

namespace tevusb::ui {
namespace {

using tevusb::testing::waitUntil;

// What a window sees of its job: each call with the thread it ran on.
struct Window : QObject {
    std::vector<std::string> calls;
    bool allOnWindowThread = true;
    WorkerThread worker{this};

    void note(const std::string& what) {
        allOnWindowThread = allOnWindowThread && QThread::currentThread() == thread();
        calls.push_back(what);
    }
};

TEST(BackgroundJob, ProgressThenFinishedThenTheEndArriveInOrderOnTheWindowThread) {
    Window window;
    bool runningAtEnd = true;
    bool nextStarted = false;
    ASSERT_TRUE(window.worker.run(
        [&window] {
            for (int i = 0; i < 3; ++i) {
                window.worker.post([&window, i] { window.note("step " + std::to_string(i)); });
            }
            return [&window] { window.note("end"); };
        },
        [&] {
            window.note("finished");
            runningAtEnd = window.worker.running();
            // The end of one job may start the next, as a window's reload after an import.
            nextStarted = window.worker.run([] { return WorkerThread::JobEnd{}; });
        }));
    // Nothing reaches the window before its thread turns to its queue.
    EXPECT_TRUE(window.calls.empty());
    ASSERT_TRUE(waitUntil([&] { return window.calls.size() == 5; }));
    EXPECT_EQ(window.calls,
              (std::vector<std::string>{"step 0", "step 1", "step 2", "finished", "end"}));
    EXPECT_TRUE(window.allOnWindowThread);
    EXPECT_FALSE(runningAtEnd);
    EXPECT_TRUE(nextStarted);
    EXPECT_TRUE(window.worker.waitFor(tevusb::testing::kWaitLimitMs));
}

TEST(BackgroundJob, OneJobAtATimeCancelStopsItAndAThrowingJobStillFinishes) {
    Window window;
    std::atomic<bool> looping{false};
    int finished = 0;
    ASSERT_TRUE(window.worker.run(
        [&] {
            looping = true;
            while (!window.worker.cancelled()) {
                QThread::msleep(1);
            }
            return [&window] { window.note("cancelled end"); };
        },
        [&] { ++finished; }));
    ASSERT_TRUE(waitUntil([&] { return looping.load(); }));
    EXPECT_FALSE(window.worker.run([] { return WorkerThread::JobEnd{}; }));
    EXPECT_FALSE(window.worker.waitFor(0));
    EXPECT_TRUE(window.worker.running());
    // The close protocol's wait: the job sees the flag and ends.
    EXPECT_TRUE(window.worker.cancelAndWait(tevusb::testing::kWaitLimitMs));
    ASSERT_TRUE(waitUntil([&] { return finished == 1; }));
    EXPECT_EQ(window.calls, std::vector<std::string>{"cancelled end"});

    // A new job starts with the flag cleared; one that throws leaves no end but finishes.
    bool sawCancel = true;
    ASSERT_TRUE(window.worker.run(
        [&]() -> WorkerThread::JobEnd {
            sawCancel = window.worker.cancelled();
            throw std::runtime_error("disk gone");
        },
        [&] { ++finished; }));
    ASSERT_TRUE(waitUntil([&] { return finished == 2; }));
    EXPECT_FALSE(sawCancel);
    EXPECT_EQ(window.calls.size(), 1u);
    EXPECT_FALSE(window.worker.running());
}

TEST(BackgroundJob, CallsPostedForAWindowThatWentAreDropped) {
    std::atomic<bool> posted{false};
    std::atomic<int> ran{0};
    {
        Window window;
        ASSERT_TRUE(window.worker.run([&] {
            window.worker.post([&] { ++ran; });
            posted = true;
            return [&] { ++ran; };
        }));
        ASSERT_TRUE(window.worker.waitFor(tevusb::testing::kWaitLimitMs));
        EXPECT_TRUE(posted);
    }
    // The window went with its calls still queued: they must not run on freed memory.
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(ran.load(), 0);
}

}  // namespace
}  // namespace tevusb::ui
