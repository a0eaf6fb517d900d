// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>

namespace tevusb::device::sim {

// How fast the simulated device answers.
struct SimTiming {
    // Time each report takes on the bus, in either direction; 1 ms is a full-speed
    // interrupt endpoint.
    std::chrono::microseconds reportDelay{1000};
    // How long FireLines keeps the lines on before it answers Complete.
    std::chrono::milliseconds fireDuration{2000};
    // Extra wait before each sample request of a launch emulation (a real flight asks
    // every 100 ms; 0 replays as fast as the program answers).
    std::chrono::milliseconds samplePace{0};

    // No delays at all: what unit tests use.
    static SimTiming instant() { return {std::chrono::microseconds{0}, {}, {}}; }
};

// Everything a simulated altimeter starts with.
struct SimConfig {
    int flights = 3;         // recorded flights preloaded into flight memory
    std::uint32_t seed = 1;  // sensor noise and flight variations
    SimTiming timing{};
    bool bootloader = false;  // starts in bootloader mode
    bool attached = true;
    std::uint16_t firmwareVersion = 0x0150;
    std::uint16_t bootloaderVersion = 0x0110;
    std::uint16_t hardwareVersion = 0x0120;
    double ambientAltitude = 152.0;  // metres above sea level, for ReadAdc
    std::uint16_t batteryTenths = 91;
    int sensorBias = 0;  // counts the sensor reads above the ideal count
};

}  // namespace tevusb::device::sim
