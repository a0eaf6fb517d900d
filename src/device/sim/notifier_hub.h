// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "device/hid_backend.h"

namespace tevusb::device::sim {

// The simulated bus's hot-plug events: each watcher gets a notifier of its own (an
// eventfd), and a change makes every live one readable, so one watcher draining its
// notifier never hides the change from another. Thread-safe; notifiers may outlive it.
class NotifierHub {
  public:
    NotifierHub() = default;
    NotifierHub(const NotifierHub&) = delete;
    NotifierHub& operator=(const NotifierHub&) = delete;

    // Null when no eventfd can be made (out of descriptors): the watcher then polls.
    std::unique_ptr<ChangeNotifier> createNotifier();
    void signal();

  private:
    struct Channel;

    std::mutex m_mutex;
    std::vector<std::weak_ptr<Channel>> m_channels;
};

}  // namespace tevusb::device::sim
