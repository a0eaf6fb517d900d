// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class QObject;

namespace tevusb::ui {

// The one thread a window or dialog runs its work on. The window thread starts it, asks
// whether it has ended and waits for it at most a given time; it never blocks on it longer.
// Given a context object, it is also the background-job runner: a job posts its progress
// to the context's thread, reads a cancel flag, and hands back what runs there at its end.
class WorkerThread {
  public:
    // Runs on the context's thread once a job has ended; empty for nothing.
    using JobEnd = std::function<void()>;

    WorkerThread() = default;
    // Jobs post to the thread of `context`, which must outlive this worker (a member of
    // the context does: it is gone before the context is).
    explicit WorkerThread(QObject* context);
    // Joins the thread. Its owner goes only once the work has ended (close protocol) or
    // after asking it to cancel, so this does not wait on a running operation for long.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts `routine` on a new thread with the cancel flag cleared. Returns false (and
    // starts nothing) while the previous worker is still running.
    bool start(std::function<int()> routine);

    // Starts `job` on a new thread with the cancel flag cleared; false while the previous
    // one runs. When it has returned (or thrown), `finished` and then the end it handed back
    // run on the context's thread, after every call the job posted; by then running() is
    // false, so the end may start the next job. Once waitFor() saw the job end, its end is
    // queued.
    bool run(std::function<JobEnd()> job, std::function<void()> finished = {});
    // Queues `task` on the context's thread; any thread.
    void post(std::function<void()> task) const;
    // Asks the running job to stop at its next step; it reads cancelled().
    void cancel() { m_cancel.store(true); }
    bool cancelled() const { return m_cancel.load(); }
    // The flag itself, for a device operation run by the job to read.
    const std::atomic<bool>* cancelFlag() const { return &m_cancel; }
    // The close protocol's step: asks the job to stop and waits at most `ms` for it; true
    // when it has ended (or none runs).
    bool cancelAndWait(int ms);

    // True once a worker was started.
    bool started() const { return m_thread.joinable(); }
    // True while a started worker has not yet returned.
    bool running() const;
    // Waits at most `ms` milliseconds for the worker to end; true when it has ended or
    // none was ever started.
    bool waitFor(int ms);
    // The routine's result, valid once it has ended.
    int exitCode() const { return m_exitCode.load(); }

  private:
    // How long the end of a job waits for its thread's last lines after its call was queued.
    static constexpr int kLastLinesMs = 100;

    QObject* m_context = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_finished{true};
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_exitCode{0};
    std::mutex m_mutex;
    std::condition_variable m_done;
};

}  // namespace tevusb::ui
