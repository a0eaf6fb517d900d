// SPDX-License-Identifier: MIT
#include "ui/window_thread_call.h"

#include <QObject>
#include <QThread>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace tevusb::ui {

namespace {

struct Rendezvous {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
};

// Lives inside the posted call: it signals when the call is gone, whether it ran or
// was dropped with its receiver.
class FinishSignal {
  public:
    explicit FinishSignal(std::shared_ptr<Rendezvous> rendezvous)
        : m_rendezvous(std::move(rendezvous)) {}
    ~FinishSignal() {
        {
            std::lock_guard lock(m_rendezvous->mutex);
            m_rendezvous->finished = true;
        }
        m_rendezvous->done.notify_all();
    }
    FinishSignal(const FinishSignal&) = delete;
    FinishSignal& operator=(const FinishSignal&) = delete;

  private:
    std::shared_ptr<Rendezvous> m_rendezvous;
};

}  // namespace

void runAndWait(QObject* context, const std::function<void()>& task) {
    if (context == nullptr || QThread::currentThread() == context->thread()) {
        task();
        return;
    }
    // Our own wait rather than a blocking queued connection: it also ends when the call
    // is dropped, and its synchronisation is plain standard C++.
    auto rendezvous = std::make_shared<Rendezvous>();
    auto signal = std::make_shared<FinishSignal>(rendezvous);
    QMetaObject::invokeMethod(
        context, [task, signal] { task(); }, Qt::QueuedConnection);
    signal.reset();
    std::unique_lock lock(rendezvous->mutex);
    rendezvous->done.wait(lock, [&] { return rendezvous->finished; });
}

}  // namespace tevusb::ui
