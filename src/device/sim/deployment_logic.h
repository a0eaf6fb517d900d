// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "device/sim/flight_rules.h"
#include "device/sim/sim_codes.h"

namespace tevusb::device::sim {

// One thing the flight logic noticed at a sample.
struct DeploymentEvent {
    Reply code;
    std::int16_t value = 0;  // the slope for ApogeeDetected, else 0
    int sample = 0;          // index of the sample that raised it
};

// The altimeter's flight logic, fed one pressure count per 100 ms: finds the ground,
// detects launch, apogee (with the climb rate of the last half second as its slope) and
// landing, and fires each line by its mode once the inhibit time has run out. The same
// logic writes the line flags of the recorded flights and answers launch emulation.
class DeploymentLogic {
  public:
    explicit DeploymentLogic(const FlightRules& rules);

    // Takes one 14-bit count; returns what it raised, in the order the device reports.
    std::vector<DeploymentEvent> feed(std::uint16_t count);

    // Line flags of the last sample (bit 1 Line A, bit 0 Line B): a fired line stays
    // on for one second.
    std::uint8_t firingFlags() const;

    bool launched() const { return m_launchSample >= 0; }
    bool apogeeDetected() const { return m_apogeeSample >= 0; }
    bool ended() const { return m_ended; }
    int samples() const { return m_samples; }
    int launchSample() const { return m_launchSample; }
    int apogeeSample() const { return m_apogeeSample; }
    int lineASample() const { return m_lineASample; }
    int lineBSample() const { return m_lineBSample; }
    double groundAltitude() const { return m_ground; }

    static constexpr double kLaunchHeight = 15.0;  // metres above ground
    static constexpr double kApogeeDrop = 1.5;     // metres below the highest point
    static constexpr double kLandedHeight = 5.0;
    static constexpr int kFilterLength = 5;
    static constexpr int kFiringSamples = 10;

  private:
    bool lineDue(settings::LineMode mode, std::uint16_t value, double agl) const;
    double filtered() const;

    FlightRules m_rules;
    std::vector<double> m_altitudes;  // metres above sea level, one per sample
    std::vector<double> m_smoothed;   // moving mean over kFilterLength samples
    double m_ground = 0.0;
    double m_highest = 0.0;
    int m_samples = 0;
    int m_launchSample = -1;
    int m_apogeeSample = -1;
    int m_lineASample = -1;
    int m_lineBSample = -1;
    bool m_ended = false;
};

}  // namespace tevusb::device::sim
