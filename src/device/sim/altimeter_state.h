// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "device/sim/deployment_logic.h"
#include "device/sim/flight_memory.h"
#include "device/sim/pressure_sensor.h"
#include "device/sim/sim_config.h"
#include "settings/device_settings.h"

namespace tevusb::device::sim {

// What the device keeps between commands, and what it did that tests may look at.
struct AltimeterState {
    explicit AltimeterState(const SimConfig& config)
        : sensor(config.seed, config.sensorBias),
          ambientAltitude(config.ambientAltitude),
          batteryTenths(config.batteryTenths),
          timing(config.timing) {}

    settings::SettingsImage settingsImage{};
    FlightMemory memory;
    PressureSensor sensor;
    double ambientAltitude;
    std::uint16_t batteryTenths;
    SimTiming timing;

    int fireCount = 0;
    std::chrono::steady_clock::time_point lastFire{};  // start of the last FireLines
    int clearCount = 0;
    int settingsWrites = 0;
    int emulationSamples = 0;
    std::vector<DeploymentEvent> emulationEvents;
};

// One input report as the device hands it to the bus: the payload without a report id,
// and how long the device needs before it (beyond the usual per-report delay).
struct SimReport {
    std::vector<std::uint8_t> payload;
    std::chrono::microseconds holdBack{0};
};

}  // namespace tevusb::device::sim
