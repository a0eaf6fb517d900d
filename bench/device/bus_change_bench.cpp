// SPDX-License-Identifier: MIT
// A worker talking to the simulated altimeter (0.1 ms per report) while it is unplugged
// and plugged in again every 5 ms. Measures the time from each plug-in to the worker's
// next whole answer (18 reports). Goal: the median within 5 ms, so that every stretch the
// device stays plugged in still brings an answer.
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "bench_util.h"
#include "device/sim/sim_backend.h"
#include "device/sim/sim_codes.h"

namespace {

using namespace tevusb::device;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 200;
constexpr auto kPlugged = std::chrono::milliseconds(5);
constexpr double kGoalMs = 5.0;
constexpr int kAnswerReports = 18;

bool send(HidHandle& handle, std::uint8_t code) {
    const std::array<std::uint8_t, 4> report{0, 0, 0, code};
    return handle.write(report.data(), report.size(), 1000) == 4;
}

bool receive(HidHandle& handle) {
    std::array<std::uint8_t, 8> buffer{};
    return handle.read(buffer.data(), buffer.size(), 50) == 3;
}

}  // namespace

int main() {
    sim::SimConfig config;
    config.flights = 1;
    config.timing = sim::SimTiming::instant();
    config.timing.reportDelay = std::chrono::microseconds(100);
    auto backend = std::make_shared<sim::SimBackend>(config);
    sim::SimAltimeter& device = backend->altimeter();
    const auto watcher = backend->createNotifier();
    const auto readSettings = static_cast<std::uint8_t>(sim::Command::ReadSettings);

    std::atomic<bool> stop{false};
    std::atomic<int> completed{0};
    std::thread worker([&] {
        while (!stop) {
            auto handle = backend->open(device.path());
            if (!handle) {
                std::this_thread::yield();
                continue;
            }
            while (!stop && send(*handle, readSettings)) {
                int got = 0;
                while (got < kAnswerReports && receive(*handle)) {
                    ++got;
                }
                if (got < kAnswerReports) {
                    break;  // unplugged mid-answer
                }
                ++completed;
            }
        }
    });

    std::vector<double> toAnswerMs;
    int missed = 0;
    for (int round = 0; round < kRounds; ++round) {
        backend->enumerate();
        device.detach();
        watcher->drain();
        const int before = completed;
        device.attach();
        const auto plugged = Clock::now();
        while (completed == before && Clock::now() - plugged < kPlugged) {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        if (completed == before) {
            ++missed;
        } else {
            toAnswerMs.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - plugged).count());
        }
        std::this_thread::sleep_until(plugged + kPlugged);
    }
    stop = true;
    worker.join();

    std::printf("%d plug-ins, %d without an answer before the next unplug, %d answers\n", kRounds,
                missed, completed.load());
    if (missed == kRounds) {
        std::fprintf(stderr, "no answer after any plug-in\n");
        return 1;
    }
    // A plug-in without an answer counts as one at the unplug.
    toAnswerMs.insert(toAnswerMs.end(), static_cast<std::size_t>(missed),
                      std::chrono::duration<double, std::milli>(kPlugged).count());
    std::sort(toAnswerMs.begin(), toAnswerMs.end());
    tevusb::bench::report("plug-in to the next whole answer, median",
                          toAnswerMs[toAnswerMs.size() / 2], kGoalMs);
    return 0;
}
