// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <thread>

#include "support/log_capture.h"

namespace tevusb::device::test {

using tevusb::testing::LogCapture;

// Waits until pred() holds, up to timeoutMs; returns whether it did.
template <typename Pred>
bool eventually(Pred pred, int timeoutMs = 2000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Milliseconds taken by f(), to check that a bounded call came back at all in reasonable
// time (a hang check, not a speed measurement).
template <typename F>
long long millisecondsTaken(F f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

}  // namespace tevusb::device::test
