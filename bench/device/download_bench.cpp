// How close a full flight-memory download comes to the time the bus itself needs: 128
// packets of 33 replies at one report per millisecond (a full-speed interrupt endpoint).
// The goal is that the program adds at most a tenth to that; the ratio printed is the
// measured time over the goal, so a value up to 1.0 meets it.
#include <chrono>
#include <cstdio>
#include <memory>
#include <sstream>

#include "device/altimeter_device.h"
#include "device/sim/sim_backend.h"
#include "log/diagnostic_log.h"

using namespace tevusb;

namespace {

constexpr int kPackets = 128;
constexpr int kRepliesPerPacket = 33;

double downloadSeconds(device::AltimeterDevice& device) {
    const auto start = std::chrono::steady_clock::now();
    const int result = device.readFlightMemory(nullptr, nullptr);
    const auto stop = std::chrono::steady_clock::now();
    if (result != device::result::kSuccess || device.store.packets.size() != kPackets) {
        std::fprintf(stderr, "download failed: %d\n", result);
        return -1.0;
    }
    return std::chrono::duration<double>(stop - start).count();
}

}  // namespace

int main() {
    device::sim::SimConfig config;
    config.flights = 0;
    auto backend = std::make_shared<device::sim::SimBackend>(config);
    auto& altimeter = backend->altimeter();
    for (int i = 0; i < kPackets; ++i) {
        data::MemoryPacket packet;
        packet.bytes.fill(0x20);
        packet.bytes[0] = i % 16 == 0 ? 2 : 1;
        altimeter.setPacket(i, packet);
    }
    device::AltimeterDevice device(backend);
    if (device.connect(device::ConnectMode::Application) != device::result::kConnected) {
        std::fprintf(stderr, "no simulated altimeter\n");
        return 1;
    }
    const double ideal = kPackets * kRepliesPerPacket *
                         std::chrono::duration<double>(altimeter.timing().reportDelay).count();
    const double goal = 1.10 * ideal;

    // The diagnostic lines are written as in the program, into memory.
    std::ostringstream sink;
    auto* previous = log::DiagnosticLog::instance().setSink(&sink);
    const double measured = downloadSeconds(device);
    log::DiagnosticLog::instance().setSink(previous);
    if (measured < 0) {
        return 1;
    }
    std::printf("full download: measured %.3f s, bus time %.3f s, goal %.3f s, ratio %.3f\n",
                measured, ideal, goal, measured / goal);
    return 0;
}
