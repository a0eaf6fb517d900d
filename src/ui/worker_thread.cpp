// SPDX-License-Identifier: MIT
#include "ui/worker_thread.h"

#include <QObject>
#include <chrono>

namespace tevusb::ui {

WorkerThread::WorkerThread(QObject* context) : m_context(context) {}

WorkerThread::~WorkerThread() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool WorkerThread::run(std::function<JobEnd()> job, std::function<void()> finished) {
    if (running()) {
        return false;
    }
    m_cancel.store(false);
    return start([this, job = std::move(job), finished = std::move(finished)] {
        JobEnd end;
        int code = 0;
        try {
            end = job();
        } catch (...) {
            // Work that throws must still give its window back its buttons.
            code = -1;
        }
        // The last thing the job does, so that whoever saw it end may count on the call
        // being queued. Its thread is then on its last lines: the wait is a formality that
        // lets the end start the next job.
        post([this, end = std::move(end), finished] {
            waitFor(kLastLinesMs);
            if (finished) {
                finished();
            }
            if (end) {
                end();
            }
        });
        return code;
    });
}

bool WorkerThread::start(std::function<int()> routine) {
    if (running()) {
        return false;
    }
    if (m_thread.joinable()) {
        m_thread.join();  // already ended: returns at once
    }
    m_finished.store(false);
    m_cancel.store(false);
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

void WorkerThread::post(std::function<void()> task) const {
    // The context outlives this worker, which joins its thread before going; a call still
    // queued when the context goes is dropped by Qt.
    if (m_context != nullptr) {
        QMetaObject::invokeMethod(m_context, std::move(task), Qt::QueuedConnection);
    }
}

bool WorkerThread::cancelAndWait(int ms) {
    cancel();
    return waitFor(ms);
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
