// SPDX-License-Identifier: MIT
#include "simulation/simulation_facts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tevusb::simulation {

namespace {

constexpr double kAfterBurnoutS = 0.5;

std::optional<double> firstFinite(const std::vector<double>& series) {
    for (double v : series) {
        if (std::isfinite(v) && v > 0.0) {
            return v;
        }
    }
    return std::nullopt;
}

std::optional<double> meanOver(const Simulation& sim, const std::vector<double>& series,
                               double from, double to) {
    if (series.size() != sim.points()) {
        return std::nullopt;
    }
    double sum = 0.0;
    std::size_t count = 0;
    for (std::size_t i = 0; i < sim.points(); ++i) {
        if (sim.timeS[i] >= from && sim.timeS[i] <= to && std::isfinite(series[i])) {
            sum += series[i];
            ++count;
        }
    }
    return count > 0 ? std::optional(sum / static_cast<double>(count)) : std::nullopt;
}

}  // namespace

std::optional<double> eventTime(const Simulation& sim, std::string_view type, std::size_t nth) {
    for (const auto& e : sim.events) {
        if (e.type == type && nth-- == 0) {
            return e.timeS;
        }
    }
    return std::nullopt;
}

std::optional<double> valueAt(const Simulation& sim, const std::vector<double>& series, double t) {
    const std::size_t n = sim.points();
    if (n == 0 || series.size() != n || !std::isfinite(t)) {
        return std::nullopt;
    }
    const auto it = std::lower_bound(sim.timeS.begin(), sim.timeS.end(), t);
    double v = 0.0;
    if (it == sim.timeS.begin()) {
        v = series.front();
    } else if (it == sim.timeS.end()) {
        v = series.back();
    } else {
        const auto j = static_cast<std::size_t>(it - sim.timeS.begin());
        const double t0 = sim.timeS[j - 1], t1 = sim.timeS[j];
        const double f = t1 > t0 ? (t - t0) / (t1 - t0) : 1.0;
        v = series[j - 1] + f * (series[j] - series[j - 1]);
    }
    return std::isfinite(v) ? std::optional(v) : std::nullopt;
}

SimulationFacts simulationFacts(const Simulation& sim) {
    SimulationFacts f;
    f.burnoutTimeS = eventTime(sim, "burnout");
    if (sim.points() == 0) {
        f.apogeeM = sim.summary.maxAltitudeM;
        f.apogeeTimeS = sim.summary.timeToApogeeS;
        f.landingTimeS = sim.summary.flightTimeS;
        return f;
    }
    std::size_t top = 0;
    for (std::size_t i = 1; i < sim.points(); ++i) {
        if (sim.altitudeM[i] > sim.altitudeM[top]) {
            top = i;
        }
    }
    f.apogeeM = sim.altitudeM[top];
    f.apogeeTimeS = sim.timeS[top];
    double vmax = -HUGE_VAL;
    for (double v : sim.verticalVelocityMs) {
        vmax = std::isfinite(v) ? std::max(vmax, v) : vmax;
    }
    if (std::isfinite(vmax)) {
        f.maxVerticalVelocityMs = vmax;
    }
    f.launchTimeS = eventTime(sim, "liftoff");
    if (!f.launchTimeS) {
        f.launchTimeS = eventTime(sim, "launch");
    }
    if (!f.launchTimeS) {
        f.launchTimeS = sim.timeS.front();
    }
    f.landingTimeS = eventTime(sim, "groundhit");
    if (!f.landingTimeS) {
        f.landingTimeS = sim.timeS.back();
    }
    f.coastMassKg = valueAt(sim, sim.massKg, f.burnoutTimeS.value_or(*f.apogeeTimeS));
    if (const auto d = firstFinite(sim.referenceLengthM)) {
        f.referenceAreaM2 = std::numbers::pi * *d * *d / 4.0;
    } else {
        f.referenceAreaM2 = firstFinite(sim.referenceAreaM2);
    }
    if (f.burnoutTimeS) {
        f.coastCd =
            meanOver(sim, sim.dragCoefficient, *f.burnoutTimeS + kAfterBurnoutS, *f.apogeeTimeS);
    }
    return f;
}

}  // namespace tevusb::simulation
