// SPDX-License-Identifier: MIT
#include "support/club_rocket.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "support/sim_files.h"

namespace tevusb::testing {

std::string clubRocketCsv(const std::string& name, double cd) {
    constexpr double kG = 9.80665;
    constexpr double kStep = 0.002;  // integration step; every tenth row is written
    constexpr double kBurnS = 1.7;
    constexpr double kThrustN = 119.0;
    constexpr double kDiameterM = 0.057;
    const double area = std::numbers::pi * kDiameterM * kDiameterM / 4.0;
    const auto density = [](double h) {
        return 1.225 * std::pow(1.0 - 0.0065 * (h + 420.0) / 288.15, 4.2559);
    };
    struct Row {
        double t, h, v, a, m;
    };
    std::vector<Row> rows;
    std::vector<std::pair<std::string, double>> events = {{"LAUNCH", 0.0}, {"LIFTOFF", 0.01}};
    double t = 0.0, h = 0.0, v = 0.0;
    bool apogee = false, drogue = false, main = false;
    for (int i = 0; h >= 0.0 && t < 200.0; ++i) {
        const double m = t < kBurnS ? 1.45 - 0.25 * t / kBurnS : 1.2;
        double a;
        if (!drogue) {
            const double thrust = t < kBurnS ? kThrustN : 0.0;
            a = thrust / m - kG - 0.5 * density(h) * cd * area * v * std::fabs(v) / m;
        } else {
            // Under a chute the rocket settles at its descent rate within a second.
            const double rate = main ? 4.0 : 10.5;
            a = (-rate - v) / 0.5;
        }
        if (i % 10 == 0) {
            rows.push_back({t, h, v, a, m});
        }
        v += a * kStep;
        h += v * kStep;
        t += kStep;
        if (events.size() == 2 && t >= kBurnS) {
            events.push_back({"BURNOUT", t});
        }
        if (!apogee && t > kBurnS && v <= 0.0) {
            apogee = true;
            events.push_back({"APOGEE", t});
        }
        if (apogee && !drogue && t >= events.back().second + 1.0) {
            drogue = true;
            events.push_back({"RECOVERY_DEVICE_DEPLOYMENT", t});
        }
        if (drogue && !main && h <= 150.0) {
            main = true;
            events.push_back({"RECOVERY_DEVICE_DEPLOYMENT", t});
        }
    }
    events.push_back({"GROUND_HIT", t});

    std::string out = "# " + name + " (Up to date)\n# " + std::to_string(rows.size()) +
                      " data points written for 7 variables.\n#\n";
    out +=
        "# Time (s),Altitude (m),Vertical velocity (m/s),Vertical acceleration (m/s\u00b2),"
        "Mass (g),Drag coefficient (\u200b),Reference length (cm)\n";
    std::size_t next = 0;
    for (const Row& r : rows) {
        while (next < events.size() && events[next].second <= r.t) {
            out += "# Event " + events[next].first +
                   " occurred at t=" + exportNumber(events[next].second, 4) + " seconds\n";
            ++next;
        }
        const double values[] = {r.t, r.h, r.v, r.a, r.m * 1000.0, cd, kDiameterM * 100.0};
        for (std::size_t c = 0; c < std::size(values); ++c) {
            out += (c == 0 ? "" : ",") + exportNumber(values[c], 4);
        }
        out += "\n";
    }
    for (; next < events.size(); ++next) {
        out += "# Event " + events[next].first +
               " occurred at t=" + exportNumber(events[next].second, 4) + " seconds\n";
    }
    return out;
}

}  // namespace tevusb::testing
