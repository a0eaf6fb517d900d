// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>
#include <QThread>
#include <atomic>
#include <chrono>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "log/diagnostic_log.h"
#include "support/log_capture.h"
#include "test_dialog.h"
#include "ui/scripted_prompts.h"
#include "ui/window_thread_call.h"

namespace tevusb::ui {
namespace {

using testing::TestDialog;
using testing::waitUntil;
using tevusb::testing::LogCapture;
using K = ControlKind;

DialogTemplate workerTemplate() {
    DialogTemplate t;
    t.id = 502;
    t.clientWidth = 200;
    t.clientHeight = 120;
    t.resizable = true;
    t.controls = {
        {1003, K::StatusBox, "", QRect(5, 5, 190, 80)},
        {1006, K::PushButton, "Read Data", QRect(5, 95, 60, 18)},
        {1004, K::PushButton, "Close", QRect(135, 95, 60, 18)},
    };
    return t;
}

// A dialog whose worker runs until it sees the cancel flag, then needs a little longer
// still, as a device operation finishing its current exchange would.
struct CancellableDialog {
    std::atomic<bool> cancel{false};
    std::atomic<bool> workerReturned{false};
    std::atomic<bool> askWarning{false};
    std::atomic<int> closeMessages{0};
    bool endedAfterWorker = false;
    int endResult = -1;
    TestDialog dialog{workerTemplate(),
                      [this](TestDialog& d, const DialogMessage& m) { return handle(d, m); }};

    bool handle(TestDialog& d, const DialogMessage& m) {
        switch (m.message) {
            case Message::InitDialog:
                return true;
            case Message::Command:
                if (m.wParam == 1006) {
                    d.item(1006)->setEnabled(false);
                    d.startWorker([this, &d] { return work(d); });
                } else if (m.wParam == 1004) {
                    d.sendMessage({Message::Close, 0, 0, {}});
                }
                return true;
            case Message::Close:
                ++closeMessages;
                cancel = true;
                d.closeWhenWorkerEnded("reposting close message...");
                return true;
            default:
                return false;
        }
    }

    int work(TestDialog& d) {
        d.appendStatus(QStringLiteral("Working...\r\n"));
        while (!cancel) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (askWarning) {
            d.showWarning(114);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(350));
        d.appendStatus(QStringLiteral("Stopped.\r\n"));
        workerReturned = true;
        return -1;
    }

    void open() {
        ASSERT_TRUE(dialog.create(nullptr));
        QObject::connect(dialog.window(), &QDialog::finished, [this](int result) {
            endedAfterWorker = workerReturned.load();
            endResult = result;
        });
        dialog.window()->show();
    }
};

TEST(CloseProtocolTest, WithoutAWorkerTheDialogEndsAtOnce) {
    LogCapture log;
    CancellableDialog c;
    c.open();
    QTest::mouseClick(c.dialog.item(1004), Qt::LeftButton);
    EXPECT_FALSE(c.dialog.window()->isVisible());
    EXPECT_EQ(c.endResult, 0);
    EXPECT_EQ(log.text(), "Waiting for thread to close...\nThread has exited.\n");
}

TEST(CloseProtocolTest, DialogStaysUntilItsWorkerHasEnded) {
    LogCapture log;
    CancellableDialog c;
    c.open();
    QTest::mouseClick(c.dialog.item(1006), Qt::LeftButton);
    ASSERT_TRUE(c.dialog.worker().running());

    // The window's own close box asks the handler, like the Close button.
    c.dialog.window()->close();
    EXPECT_TRUE(c.cancel);
    EXPECT_TRUE(c.dialog.window()->isVisible());

    ASSERT_TRUE(waitUntil([&] { return !c.dialog.window()->isVisible(); }));
    EXPECT_TRUE(c.endedAfterWorker);
    EXPECT_EQ(c.endResult, 0);
    // Each wait was short: the close was posted again and again meanwhile.
    EXPECT_GE(c.closeMessages, 3);
    EXPECT_EQ(log.count("reposting close message..."), c.closeMessages - 1);
    EXPECT_EQ(log.count("Waiting for thread to close..."), c.closeMessages.load());
    EXPECT_EQ(log.count("Thread has exited."), 1);
    EXPECT_TRUE(log.text().ends_with("Thread has exited.\n"));
    // The window kept serving the worker while it waited.
    waitUntil([&] { return c.dialog.statusText().contains("Stopped."); }, 1000);
    EXPECT_EQ(c.dialog.statusText(), "Working...\r\nStopped.\r\n");
}

TEST(CloseProtocolTest, WorkerCanAskTheUserWhileTheDialogIsClosing) {
    ScriptedPrompts prompts;
    UserPrompts* previous = setUserPrompts(&prompts);
    LogCapture log;
    CancellableDialog c;
    c.askWarning = true;
    c.open();
    QTest::mouseClick(c.dialog.item(1006), Qt::LeftButton);
    QTest::mouseClick(c.dialog.item(1004), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return !c.dialog.window()->isVisible(); }));
    EXPECT_TRUE(c.endedAfterWorker);
    const auto boxes = prompts.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].onWindowThread);
    EXPECT_EQ(boxes[0].owner, c.dialog.window());
    EXPECT_EQ(boxes[0].type, kMbIconExclamation);
    setUserPrompts(previous);
}

TEST(CloseProtocolTest, EscapeAndEnterDoNothingUnlessTheDialogHandlesThem) {
    CancellableDialog c;
    c.open();
    QTest::keyClick(c.dialog.window(), Qt::Key_Escape);
    QTest::keyClick(c.dialog.window(), Qt::Key_Return);
    QTest::keyClick(c.dialog.item(1006), Qt::Key_Escape);
    EXPECT_TRUE(c.dialog.window()->isVisible());
    EXPECT_EQ(c.closeMessages, 0);
    EXPECT_FALSE(c.dialog.worker().started());
}

TEST(CloseProtocolTest, ADialogGoingAwayEndsAWorkerThatWaitsOnTheWindowThread) {
    LogCapture log;
    std::atomic<bool> answered{false};
    auto dialog = std::make_unique<TestDialog>(
        workerTemplate(),
        [](TestDialog&, const DialogMessage& m) { return m.message == Message::InitDialog; });
    ASSERT_TRUE(dialog->create(nullptr));
    TestDialog* d = dialog.get();
    ASSERT_TRUE(d->startWorker([d, &answered] {
        // As a worker that asks the user something would: it needs the window thread.
        d->runOnWindowThreadAndWait([&answered] { answered = true; });
        while (!d->operationCancel()->load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return 0;
    }));
    // The window thread never returns to its event loop before the dialog goes: waiting
    // without serving the worker would never end.
    EXPECT_TRUE(d->endWorkerBeforeDestruction());
    EXPECT_TRUE(answered);
    EXPECT_FALSE(d->worker().running());
    // The next worker starts with a clear flag.
    ASSERT_TRUE(d->startWorker([d] { return d->operationCancel()->load() ? 1 : 0; }));
    ASSERT_TRUE(d->worker().waitFor(5000));
    EXPECT_EQ(d->worker().exitCode(), 0);
    dialog.reset();
}

TEST(WorkerThreadTest, StartsOneAtATimeAndReportsItsEnd) {
    WorkerThread worker;
    EXPECT_TRUE(worker.waitFor(0));  // none started counts as ended
    std::atomic<bool> release{false};
    ASSERT_TRUE(worker.start([&] {
        while (!release) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return 7;
    }));
    EXPECT_TRUE(worker.running());
    EXPECT_FALSE(worker.start([] { return 0; }));
    EXPECT_FALSE(worker.waitFor(20));
    release = true;
    EXPECT_TRUE(worker.waitFor(5000));
    EXPECT_EQ(worker.exitCode(), 7);
    ASSERT_TRUE(worker.start([]() -> int { throw 1; }));
    EXPECT_TRUE(worker.waitFor(5000));
    EXPECT_EQ(worker.exitCode(), -1);
}

TEST(DialogRoutingTest, AThrowingHandlerLeavesTheDialogRunning) {
    int calls = 0;
    TestDialog dialog(workerTemplate(), [&](TestDialog&, const DialogMessage& m) -> bool {
        if (m.message == Message::Command) {
            ++calls;
            throw std::runtime_error("handler failed");
        }
        return m.message == Message::InitDialog;
    });
    ASSERT_TRUE(dialog.create(nullptr));
    dialog.window()->show();
    QTest::mouseClick(dialog.item(1006), Qt::LeftButton);
    QTest::mouseClick(dialog.item(1006), Qt::LeftButton);
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(dialog.window()->isVisible());
}

}  // namespace
}  // namespace tevusb::ui

namespace tevusb::ui {
namespace {

TEST(WindowThreadTest, WorkersReachControlsOnlyThroughTheWindowThread) {
    TestDialog dialog(workerTemplate(), [](TestDialog&, const DialogMessage& m) {
        return m.message == Message::InitDialog;
    });
    ASSERT_TRUE(dialog.create(nullptr));
    QThread* windowThread = QThread::currentThread();
    QThread* ranOn = nullptr;
    bool disabledBeforeReturn = false;
    bool disabledInTask = false;
    std::thread worker([&] {
        dialog.runOnWindowThreadAndWait([&] {
            ranOn = QThread::currentThread();
            dialog.item(1006)->setEnabled(false);
            disabledInTask = !dialog.item(1006)->isEnabled();
        });
        // The change is made by the time the call returns.
        disabledBeforeReturn = ranOn == windowThread && disabledInTask;
        dialog.runOnWindowThread([&] { dialog.item(1006)->setEnabled(true); });
    });
    ASSERT_TRUE(waitUntil([&] { return ranOn != nullptr; }));
    worker.join();
    EXPECT_TRUE(disabledBeforeReturn);
    ASSERT_TRUE(waitUntil([&] { return dialog.item(1006)->isEnabled(); }));

    // On the window thread itself the wait form runs at once instead of deadlocking.
    bool ran = false;
    dialog.runOnWindowThreadAndWait([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(WindowThreadTest, TasksPostedForADialogThatIsGoneAreDropped) {
    auto dialog = std::make_unique<TestDialog>(workerTemplate(), nullptr);
    ASSERT_TRUE(dialog->create(nullptr));
    bool ran = false;
    dialog->runOnWindowThread([&] { ran = true; });
    dialog->appendStatus(QStringLiteral("late\r\n"));
    dialog.reset();
    waitUntil([] { return false; }, 50);
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace tevusb::ui

namespace tevusb::ui {
namespace {

TEST(WindowThreadTest, AWaitForACallWhoseReceiverIsGoneEnds) {
#if defined(__SANITIZE_THREAD__)
    // The call is handed over inside Qt, which the thread sanitizer cannot see through
    // unless an event loop picks it up, and here none must.
    GTEST_SKIP() << "handover inside Qt is invisible to the thread sanitizer";
#endif
    auto receiver = std::make_unique<QObject>();
    QObject* target = receiver.get();
    std::atomic<bool> calling{false};
    std::atomic<bool> returned{false};
    bool ran = false;
    std::thread worker([&] {
        calling = true;
        runAndWait(target, [&] { ran = true; });
        returned = true;
    });
    while (!calling) {
        std::this_thread::yield();
    }
    // Without running the event loop the call cannot have run; give it time to be posted.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    receiver.reset();
    for (int i = 0; i < 500 && !returned; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(returned);
    if (!returned) {
        std::abort();  // the worker would never end: the test cannot go on
    }
    worker.join();
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace tevusb::ui
