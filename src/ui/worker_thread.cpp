// SPDX-License-Identifier: MIT
#include "ui/worker_thread.h"

#include <chrono>

namespace tevusb::ui {

WorkerThread::~WorkerThread() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool WorkerThread::start(std::function<int()> routine) {
    if (running()) {
        return false;
    }
    if (m_thread.joinable()) {
        m_thread.join();  // already ended: returns at once
    }
    m_finished.store(false);
    m_thread = std::thread([this, routine = std::move(routine)] {
        int code = -1;
        try {
            code = routine();
        } catch (...) {
            // A device routine that throws must still let the dialog close.
            code = -1;
        }
        m_exitCode.store(code);
        {
            std::lock_guard lock(m_mutex);
            m_finished.store(true);
        }
        m_done.notify_all();
    });
    return true;
}

bool WorkerThread::running() const {
    return !m_finished.load();
}

bool WorkerThread::waitFor(int ms) {
    std::unique_lock lock(m_mutex);
    return m_done.wait_for(lock, std::chrono::milliseconds(ms),
                           [this] { return m_finished.load(); });
}

}  // namespace tevusb::ui
