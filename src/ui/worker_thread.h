// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace tevusb::ui {

// The one thread a dialog runs a device operation on. The window thread starts it, asks
// whether it has ended and waits for it at most a given time; it never blocks on it longer.
class WorkerThread {
  public:
    WorkerThread() = default;
    // Joins a finished thread. A dialog only goes once its worker has ended (close
    // protocol), so this does not wait on a running operation in practice.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts `routine` on a new thread. Returns false (and starts nothing) while the
    // previous worker is still running.
    bool start(std::function<int()> routine);

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
    std::thread m_thread;
    std::atomic<bool> m_finished{true};
    std::atomic<int> m_exitCode{0};
    std::mutex m_mutex;
    std::condition_variable m_done;
};

}  // namespace tevusb::ui
