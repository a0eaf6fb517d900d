// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace tevusb::testing {

// How long a test waits for what should come promptly unless it says otherwise: ample on
// a loaded machine or under a sanitizer, and spent in full only when a test fails.
inline constexpr int kWaitLimitMs = 10000;

// Runs the Qt event loop until done() holds or limitMs have passed; true when it held.
// What the last step posted is delivered before it returns, so the test sees it too.
// With a done() that never holds it runs the loop for limitMs. Needs the Qt part of the
// support library (tevusb_test_support_qt).
bool waitUntil(const std::function<bool()>& done, int limitMs = kWaitLimitMs);

// The same for tests without an event loop (threads, the simulated bus): looks again
// every millisecond.
inline bool pollUntil(const std::function<bool()>& done, int limitMs = kWaitLimitMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace tevusb::testing
