// SPDX-License-Identifier: MIT
#pragma once

#include <deque>
#include <functional>
#include <memory>

#include "ui/dialog_message.h"

class QTimer;

namespace tevusb::ui {

// Holds back the handling of device arrivals and removals while a dialog's device
// operation runs: reconnecting or closing the link under a running transfer would pull it
// away from the worker (a removed device still fails the worker, through its time-outs).
// A dialog is busy while its worker runs; one that must also cover the moments around its
// worker marks itself busy before starting it and idle once it heard that it ended.
// Held work runs in the order it came: whole messages once the dialog is marked idle, a
// connect check once the worker has ended (looked at every 100 ms). Window thread only.
class DeviceChangeDeferral {
  public:
    static constexpr int kWorkerPollMs = 100;

    // `workerRunning` says whether the dialog's worker still runs.
    explicit DeviceChangeDeferral(std::function<bool()> workerRunning);
    ~DeviceChangeDeferral();
    DeviceChangeDeferral(const DeviceChangeDeferral&) = delete;
    DeviceChangeDeferral& operator=(const DeviceChangeDeferral&) = delete;

    // Marking the dialog idle hands the messages held meanwhile to their handler.
    void setBusy(bool busy);
    bool busy() const { return m_busy; }

    // While marked busy: keeps `message` for `handle` and returns true. Otherwise false.
    bool defer(const DialogMessage& message,
               const std::function<void(const DialogMessage&)>& handle);
    // Keeps `check` until the worker has ended. It replaces a check kept before: one check
    // after the operation covers every arrival during it.
    void deferUntilWorkerEnded(std::function<void()> check);

    // The dialog heard its worker end (from the worker's last call to the window thread,
    // when its device operation is over): the check held for it runs now, without waiting
    // for the poll to see the thread gone.
    void workerEnded();

  private:
    struct Held {
        std::function<void()> action;
        bool untilWorkerEnded;
    };
    void releaseReady();
    bool ready(const Held& held) const;

    std::function<bool()> m_workerRunning;
    bool m_busy = false;
    std::deque<Held> m_held;
    std::unique_ptr<QTimer> m_poll;
};

}  // namespace tevusb::ui
