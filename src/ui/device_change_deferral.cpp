// SPDX-License-Identifier: MIT
#include "ui/device_change_deferral.h"

#include <QTimer>
#include <algorithm>
#include <utility>

#include "log/diagnostic_log.h"

namespace tevusb::ui {

DeviceChangeDeferral::DeviceChangeDeferral(std::function<bool()> workerRunning)
    : m_workerRunning(std::move(workerRunning)) {}

DeviceChangeDeferral::~DeviceChangeDeferral() = default;

void DeviceChangeDeferral::setBusy(bool busy) {
    m_busy = busy;
    if (!busy) {
        releaseReady();
    }
}

bool DeviceChangeDeferral::defer(const DialogMessage& message,
                                 const std::function<void(const DialogMessage&)>& handle) {
    if (!m_busy || message.message != Message::DeviceChange) {
        return false;
    }
    log::logLine("Device change held until the device operation ends.");
    m_held.push_back({[handle, message] { handle(message); }, false});
    return true;
}

void DeviceChangeDeferral::deferUntilWorkerEnded(std::function<void()> check) {
    std::erase_if(m_held, [](const Held& held) { return held.untilWorkerEnded; });
    m_held.push_back({std::move(check), true});
    if (!m_poll) {
        m_poll = std::make_unique<QTimer>();
        m_poll->setInterval(kWorkerPollMs);
        QObject::connect(m_poll.get(), &QTimer::timeout, [this] { releaseReady(); });
    }
    m_poll->start();
}

void DeviceChangeDeferral::workerEnded() {
    std::deque<Held> pending = std::exchange(m_held, {});
    for (Held& held : pending) {
        if (held.untilWorkerEnded) {
            held.action();
        } else {
            m_held.push_back(std::move(held));
        }
    }
    releaseReady();
}

bool DeviceChangeDeferral::ready(const Held& held) const {
    return held.untilWorkerEnded ? !m_workerRunning() : !m_busy;
}

void DeviceChangeDeferral::releaseReady() {
    // A released message may hold a new check (its worker is still on its last lines);
    // that lands in m_held while the earlier entries are being run.
    std::deque<Held> pending = std::exchange(m_held, {});
    std::deque<Held> waiting;
    while (!pending.empty()) {
        Held held = std::move(pending.front());
        pending.pop_front();
        if (ready(held)) {
            held.action();
        } else {
            waiting.push_back(std::move(held));
        }
    }
    const bool newerCheck = std::any_of(m_held.begin(), m_held.end(),
                                        [](const Held& held) { return held.untilWorkerEnded; });
    for (auto it = waiting.rbegin(); it != waiting.rend(); ++it) {
        if (!(it->untilWorkerEnded && newerCheck)) {
            m_held.push_front(std::move(*it));
        }
    }
    const bool checkHeld = std::any_of(m_held.begin(), m_held.end(),
                                       [](const Held& held) { return held.untilWorkerEnded; });
    if (m_poll && !checkHeld) {
        m_poll->stop();
    }
}

}  // namespace tevusb::ui
