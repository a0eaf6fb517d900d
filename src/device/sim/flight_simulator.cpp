// SPDX-License-Identifier: MIT
#include "device/sim/flight_simulator.h"

#include <algorithm>
#include <cmath>

#include "device/sim/deployment_logic.h"

namespace tevusb::device::sim {

namespace {
constexpr double kGravity = 9.81;
constexpr int kStepsPerSample = 20;  // 5 ms integration steps
constexpr double kStep = 0.1 / kStepsPerSample;
constexpr int kAfterLanding = 20;  // samples still recorded on the ground

double chuteDrag(double rate) {
    return rate > 0.0 ? kGravity / (rate * rate) : 0.0;
}
}  // namespace

RecordedFlight simulateFlight(const FlightProfile& profile, const FlightRules& rules,
                              PressureSensor& sensor) {
    RecordedFlight flight;
    flight.groundAltitude = profile.groundAltitude;
    DeploymentLogic logic(rules);
    double height = 0.0;
    double speed = 0.0;
    double time = 0.0;
    const int limit = rules.maxReadings;
    for (int sample = 0; sample < limit; ++sample) {
        const std::uint16_t count = sensor.sample(profile.groundAltitude + height);
        logic.feed(count);
        const std::uint8_t flags = logic.firingFlags();
        flight.words.push_back(static_cast<std::uint16_t>(count | (flags << 14)));
        if (flight.landingSample >= 0 && sample - flight.landingSample >= kAfterLanding) {
            break;
        }
        for (int step = 0; step < kStepsPerSample; ++step) {
            time += kStep;
            const double burning = time - profile.padTime;
            if (burning < 0.0 || flight.landingSample >= 0) {
                continue;
            }
            if (flight.ignitionSample < 0) {
                flight.ignitionSample = sample + 1;
            }
            double drag = profile.bodyDrag;
            if (logic.lineASample() >= 0) {
                drag += chuteDrag(profile.drogueRate);
            }
            if (logic.lineBSample() >= 0) {
                drag += chuteDrag(profile.mainRate);
            }
            const double thrust = burning < profile.burnTime ? profile.thrust : 0.0;
            const double accel = thrust - kGravity - drag * speed * std::abs(speed);
            speed += accel * kStep;
            height += speed * kStep;
            flight.apogee = std::max(flight.apogee, height);
            if (height <= 0.0) {
                height = 0.0;
                if (thrust == 0.0) {
                    flight.landingSample = sample + 1;
                }
                speed = 0.0;
            }
        }
    }
    flight.launchSample = logic.launchSample();
    flight.apogeeSample = logic.apogeeSample();
    flight.lineASample = logic.lineASample();
    flight.lineBSample = logic.lineBSample();
    return flight;
}

FlightProfile stockProfile(int index, PressureSensor& sensor) {
    static const FlightProfile kStock[] = {
        {152.0, 2.5, 110.0, 1.3, 0.0015, 16.0, 5.5},
        {423.0, 3.0, 85.0, 2.1, 0.0010, 19.0, 6.5},
        {78.0, 2.0, 60.0, 0.9, 0.0025, 14.0, 5.0},
    };
    FlightProfile profile = kStock[index % 3];
    if (index >= 3) {
        // Another motor of the same family: thrust within +-10 %, burn within +-20 %.
        profile.thrust *= 0.9 + 0.2 * sensor.draw(1001) / 1000.0;
        profile.burnTime *= 0.8 + 0.4 * sensor.draw(1001) / 1000.0;
    }
    return profile;
}

}  // namespace tevusb::device::sim
