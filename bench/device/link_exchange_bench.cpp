// SPDX-License-Identifier: MIT
// Cost of the link itself per command/reply exchange, against an instant device.
// Goal: at most 100 us per report moved, a tenth of the 1 ms a full-speed interrupt
// endpoint needs for one report, so that the transfer thread never slows a download.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>

#include "device/hid_link.h"

namespace {

using namespace tevusb::device;

constexpr double kGoalNsPerReport = 100'000.0;

// Answers each 4-byte message at once with the same value.
class EchoHandle final : public HidHandle {
  public:
    int write(const std::uint8_t* data, std::size_t length, int) override {
        if (length == 4) {
            std::lock_guard lock(m_mutex);
            m_queue.push_back({data[1], data[2], 11});
        }
        return static_cast<int>(length);
    }
    int read(std::uint8_t* data, std::size_t length, int) override {
        std::lock_guard lock(m_mutex);
        if (m_queue.empty()) {
            return 0;
        }
        const auto report = m_queue.front();
        m_queue.pop_front();
        const std::size_t n = std::min(length, report.size());
        std::copy_n(report.begin(), n, data);
        return static_cast<int>(n);
    }

  private:
    std::mutex m_mutex;
    std::deque<std::array<std::uint8_t, 3>> m_queue;
};

class EchoBackend final : public HidBackend {
  public:
    std::vector<HidDeviceInfo> enumerate() override { return {{"echo", 0x03db, 2, 0x0150}}; }
    std::unique_ptr<HidHandle> open(const std::string&) override {
        return std::make_unique<EchoHandle>();
    }
};

}  // namespace

int main() {
    HidLink link(std::make_shared<EchoBackend>());
    link.setDevice({"echo", 0x03db, 2, 0x0150});
    if (!link.open()) {
        std::fprintf(stderr, "open failed\n");
        return 1;
    }
    constexpr int kExchanges = 20000;
    std::array<std::uint8_t, 4> command{0, 1, 0, 2};
    std::array<std::uint8_t, 4> reply{};
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kExchanges; ++i) {
        command[1] = static_cast<std::uint8_t>(i);
        if (!link.write(command.data(), 4, 3000) || !link.read(reply.data(), 4, 3000) ||
            reply[1] != command[1]) {
            std::fprintf(stderr, "exchange %d failed\n", i);
            return 1;
        }
    }
    const double ns =
        std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    const double perReport = ns / (2.0 * kExchanges);
    std::printf("link exchange: %.1f us per report (goal %.0f us), ratio measured/goal %.3f\n",
                perReport / 1000.0, kGoalNsPerReport / 1000.0, perReport / kGoalNsPerReport);
    return 0;
}
