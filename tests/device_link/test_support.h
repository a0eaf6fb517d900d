// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <thread>

#include "support/log_capture.h"
#include "support/wait.h"

namespace tevusb::device::test {

using tevusb::testing::LogCapture;

using tevusb::testing::pollUntil;

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
