// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "device/sim/flight_rules.h"
#include "device/sim/pressure_sensor.h"

namespace tevusb::device::sim {

// A small model rocket: a motor of constant thrust, air drag growing with the square of
// the speed, a drogue on Line A and a main parachute on Line B.
struct FlightProfile {
    double groundAltitude = 150.0;  // launch site, metres above sea level
    double padTime = 2.5;           // seconds recorded on the pad before ignition
    double thrust = 100.0;          // motor acceleration, m/s^2
    double burnTime = 1.2;          // seconds
    double bodyDrag = 0.0015;       // drag factor of the bare rocket, 1/m
    double drogueRate = 17.0;       // descent rate under the drogue, m/s
    double mainRate = 6.0;          // descent rate under the main, m/s
};

// What the altimeter recorded of one flight, and what really happened.
struct RecordedFlight {
    std::vector<std::uint16_t> words;  // readings with their line flags, 10 per second
    double groundAltitude = 0.0;
    double apogee = 0.0;  // highest point reached, metres above ground
    int ignitionSample = -1;
    int launchSample = -1;  // where the flight logic saw the launch, -1 if never
    int apogeeSample = -1;
    int lineASample = -1;
    int lineBSample = -1;
    int landingSample = -1;
};

// Flies a profile and records it the way the altimeter does: one reading per 100 ms,
// the line flags set while the flight logic fires a line, at most `rules.maxReadings`
// readings (the recording ends two seconds after touchdown).
RecordedFlight simulateFlight(const FlightProfile& profile, const FlightRules& rules,
                              PressureSensor& sensor);

// The profiles of the preloaded flights; index beyond the three stock flights gives a
// variation of one of them, drawn from the sensor's generator.
FlightProfile stockProfile(int index, PressureSensor& sensor);

}  // namespace tevusb::device::sim
