// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tevusb::simulation {

// Something the simulator reports happening: a lower-case word without underscores
// ("launch", "burnout", "apogee", "recoverydevicedeployment", ...) and its time in s.
struct SimEvent {
    std::string type;
    double timeS = 0.0;
};

// What a design file says of a simulation without its data rows (SI units).
struct SimSummary {
    std::optional<double> maxAltitudeM;
    std::optional<double> maxVelocityMs;
    std::optional<double> timeToApogeeS;
    std::optional<double> flightTimeS;
};

// One simulated flight in SI units (s, m, m/s, m/s², kg, m²). The three first series
// always have one value per row; an optional series is either empty or as long, and may
// hold NaN where the simulator wrote one. Altitude is above the launch site.
struct Simulation {
    std::string name;
    std::vector<double> timeS;
    std::vector<double> altitudeM;
    std::vector<double> verticalVelocityMs;

    std::vector<double> verticalAccelerationMs2;
    std::vector<double> totalVelocityMs;
    std::vector<double> massKg;
    std::vector<double> dragCoefficient;
    std::vector<double> referenceAreaM2;
    std::vector<double> referenceLengthM;
    std::vector<double> machNumber;
    std::vector<double> airDensityKgM3;

    std::vector<SimEvent> events;  // in time order
    SimSummary summary;

    std::size_t points() const { return timeS.size(); }
};

}  // namespace tevusb::simulation
