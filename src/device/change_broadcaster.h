// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "device/hid_backend.h"

namespace tevusb::device {

// Hands out notifiers and signals them all: what a backend without a system source of
// hot-plug events (the simulated altimeter, a test's fake) uses for createNotifier().
// Each notifier is a non-blocking pipe of its own. Thread-safe; notifiers may outlive it.
class ChangeBroadcaster {
  public:
    ChangeBroadcaster() = default;
    ChangeBroadcaster(const ChangeBroadcaster&) = delete;
    ChangeBroadcaster& operator=(const ChangeBroadcaster&) = delete;

    // Null when no pipe can be made (out of descriptors); the watcher then polls.
    std::unique_ptr<ChangeNotifier> createNotifier();
    // Makes every live notifier's fd readable until it is drained.
    void notify();

  private:
    struct Pipe;
    class PipeNotifier;

    std::mutex m_mutex;
    std::vector<std::weak_ptr<Pipe>> m_pipes;
};

}  // namespace tevusb::device
