// SPDX-License-Identifier: MIT
// Device exchanges against the simulated altimeter at 1 ms per report in each direction
// (a full-speed interrupt endpoint). The bound of an exchange is its number of reports,
// commands and replies, times 1 ms; the goal is at most 1.05 times that. Emulation adds
// the program's 10 ms pause per sample.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "bench_util.h"
#include "data/altitude_converter.h"
#include "device/altimeter_device.h"
#include "device/sim/sim_backend.h"
#include "log/diagnostic_log.h"
#include "support/firmware_builder.h"

using namespace tevusb;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void report(const char* what, double measured, double bound) {
    std::printf("%-44s measured %8.3f s  bound %8.3f s  ratio %.3f (goal 1.05) %s\n", what,
                measured, bound, measured / bound, measured <= 1.05 * bound ? "ok" : "OVER");
}

bool fullMemory(device::sim::SimAltimeter& altimeter) {
    for (int i = 0; i < 128; ++i) {
        data::MemoryPacket packet;
        packet.bytes.fill(0x20);
        packet.bytes[0] = i % 16 == 0 ? 2 : 1;
        altimeter.setPacket(i, packet);
    }
    return true;
}

int benchDownload(device::AltimeterDevice& dev, device::sim::SimAltimeter& altimeter) {
    fullMemory(altimeter);
    const auto before = altimeter.reportsProduced();
    const auto start = Clock::now();
    const int r = dev.readFlightMemory(nullptr, nullptr);
    const double measured = secondsSince(start);
    if (r != device::result::kSuccess || dev.store.packets.size() != 128) {
        std::fprintf(stderr, "download failed: %d\n", r);
        return 1;
    }
    // Every reply and every command is one report on the bus.
    const auto reports = altimeter.reportsProduced() - before + 2 * 128;
    report("full 128-packet download", measured, reports * 1e-3);
    return 0;
}

int benchFirmware(device::AltimeterDevice& dev, device::sim::SimAltimeter& altimeter) {
    device::testing::FirmwareBuilder builder;
    for (int b = 0; b < 1024; ++b) {
        builder.fillBlock(b);
    }
    builder.length = 65536;
    const auto path = std::filesystem::temp_directory_path() / "tevusb-bench.dat";
    {
        const auto bytes = builder.bytes();
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    altimeter.switchToBootloader();
    if (dev.connect(device::ConnectMode::Bootloader) != device::result::kConnected) {
        std::fprintf(stderr, "no bootloader\n");
        return 1;
    }
    const auto before = altimeter.reportsProduced();
    const int writesBefore = altimeter.bootReportsReceived();
    device::FirmwareVersions versions;
    const auto start = Clock::now();
    const int r = dev.updateFirmware(nullptr, nullptr, path, versions);
    const double measured = secondsSince(start);
    std::filesystem::remove(path);
    if (r != device::update_result::kSuccess) {
        std::fprintf(stderr, "firmware update failed: %d\n", r);
        return 1;
    }
    const auto inputs = altimeter.reportsProduced() - before;
    const auto outputs =
        static_cast<unsigned long long>(altimeter.bootReportsReceived() - writesBefore);
    std::printf("  (%llu output reports, %llu input reports)\n", outputs,
                static_cast<unsigned long long>(inputs));
    report("full firmware image", measured, static_cast<double>(inputs + outputs) * 1e-3);
    altimeter.switchToApplication();
    return 0;
}

int benchEmulation(device::AltimeterDevice& dev, device::sim::SimAltimeter& altimeter) {
    // A 3968-sample flight that is still coming down under its main when the samples run
    // out, so the device asks for every one of them.
    dev.store.packets.clear();
    const data::AltitudeConverter conv(0);
    for (int p = 0; p < 128; ++p) {
        data::MemoryPacket packet;
        packet.bytes.fill(0xFF);
        packet.bytes[0] = p == 0 ? 2 : 0;
        packet.bytes[1] = 0;
        for (int j = 1; j <= 31; ++j) {
            const double t = (p * 31 + j - 1) / 10.0;
            const double alt = t < 5.0    ? 0.0
                               : t < 25.0 ? 1.5 * (t - 5.0) * (t - 5.0)
                                          : std::max(0.0, 600.0 - 1.4 * (t - 25.0));
            packet.setWord(j, static_cast<std::uint16_t>(conv.countForAltitude(alt)));
        }
        dev.store.packets.push_back(packet);
    }
    dev.store.selectSet(0);
    if (dev.connect(device::ConnectMode::Application) != device::result::kConnected) {
        return 1;
    }
    const auto reportsBefore = altimeter.reportsProduced();
    const auto messagesBefore = altimeter.receivedMessages().size();
    const auto start = Clock::now();
    const bool ok = dev.emulateLaunch(nullptr, nullptr);
    const double measured = secondsSince(start);
    const int samples = altimeter.emulationSamples();
    const auto reports = altimeter.reportsProduced() - reportsBefore +
                         (altimeter.receivedMessages().size() - messagesBefore);
    std::printf("  (emulation %s after %d samples, %llu reports)\n",
                ok ? "ended properly" : "failed", samples,
                static_cast<unsigned long long>(reports));
    report("emulation of a 3968-sample flight", measured,
           samples * 0.010 + static_cast<double>(reports) * 1e-3);
    return samples == 3968 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const bool withEmulation = !(argc > 1 && std::string(argv[1]) == "--no-emulation");
    std::ostringstream sink;  // the diagnostic lines are written as in the program
    log::DiagnosticLog::instance().setSink(&sink);

    device::sim::SimConfig config;
    config.flights = 0;
    auto backend = std::make_shared<device::sim::SimBackend>(config);
    auto& altimeter = backend->altimeter();
    device::AltimeterDevice dev(backend);
    if (dev.connect(device::ConnectMode::Application) != device::result::kConnected) {
        std::fprintf(stderr, "no simulated altimeter\n");
        return 1;
    }
    int status = benchDownload(dev, altimeter);
    status |= benchFirmware(dev, altimeter);
    if (withEmulation) {
        status |= benchEmulation(dev, altimeter);
    }
    return status;
}
