// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace tevusb::bench {

// Runs `work` `runs` times and returns the median wall time in milliseconds.
inline double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// One result line: what, measured, goal, and their ratio (at most 1.00 meets the goal).
inline void report(const char* what, double measuredMs, double goalMs) {
    std::printf("%-58s %10.3f ms  goal %9.3f ms  ratio %.3f %s\n", what, measuredMs, goalMs,
                measuredMs / goalMs, measuredMs <= goalMs ? "ok" : "OVER");
}

// The same for a goal that is a least value: the ratio is goal / measured, so again at
// most 1.00 meets the goal.
inline void reportAtLeast(const char* what, double measuredMs, double goalMs) {
    std::printf("%-58s %10.3f ms  goal >= %6.3f ms  ratio %.3f %s\n", what, measuredMs, goalMs,
                goalMs / measuredMs, measuredMs >= goalMs ? "ok" : "UNDER");
}

}  // namespace tevusb::bench
