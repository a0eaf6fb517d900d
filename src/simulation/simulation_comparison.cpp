// SPDX-License-Identifier: MIT
#include "simulation/simulation_comparison.h"

#include <algorithm>
#include <cmath>

#include "analysis/series_fit.h"

namespace tevusb::simulation {

namespace {

using analysis::Quantity;

constexpr double kSettleS = 2.0;  // a parachute's opening shock and swing
constexpr double kEndTrimS = 0.5;

// The steady descent rate (positive m/s) between two simulated times, from a least-squares
// line over the phase less its settling seconds; nothing for a phase that does not fall.
std::optional<double> descentRate(const Simulation& sim, double from, double to) {
    const double settle = std::min(kSettleS, (to - from) / 3.0);
    std::vector<double> t, h;
    for (std::size_t i = 0; i < sim.points(); ++i) {
        if (sim.timeS[i] >= from + settle && sim.timeS[i] <= to - kEndTrimS) {
            t.push_back(sim.timeS[i]);
            h.push_back(sim.altitudeM[i]);
        }
    }
    if (t.size() < 3) {
        return std::nullopt;
    }
    const auto line = analysis::fitPoints(t, h);
    if (!line.ok || !(line.slope < 0.0)) {
        return std::nullopt;
    }
    return -line.slope;
}

std::optional<double> since(std::optional<double> t, std::optional<double> origin) {
    return t && origin ? std::optional(*t - *origin) : std::nullopt;
}

}  // namespace

std::optional<double> ComparedValue::difference() const {
    return simulated && flown ? std::optional(*flown - *simulated) : std::nullopt;
}

std::optional<double> ComparedValue::differencePct() const {
    if (!simulated || !flown || std::fabs(*simulated) < 1e-9) {
        return std::nullopt;
    }
    return 100.0 * (*flown - *simulated) / std::fabs(*simulated);
}

SimulationComparison compareWithSimulation(const analysis::FlightStatistics& flight,
                                           const Simulation& sim, const SimulationFacts& facts) {
    SimulationComparison c;
    const auto launch = flight.launchTimeS;
    const auto simLaunch = facts.launchTimeS;
    auto add = [&](std::string key, std::string label, Quantity q, std::optional<double> simulated,
                   std::optional<double> flown) {
        c.values.push_back({std::move(key), std::move(label), q, simulated, flown});
    };
    const std::optional<double> flownApogee =
        flight.apogee ? std::optional(flight.apogee->aglM) : std::nullopt;
    const std::optional<double> flownApogeeTime =
        flight.apogee ? std::optional(flight.apogee->timeS) : std::nullopt;
    add("apogee_m", "Apogee", Quantity::Altitude, facts.apogeeM, flownApogee);
    add("apogee_time_s", "Apogee time", Quantity::Time, since(facts.apogeeTimeS, simLaunch),
        since(flownApogeeTime, launch));
    add("max_velocity_ms", "Peak vertical velocity", Quantity::Speed, facts.maxVerticalVelocityMs,
        flight.maxVelocity ? std::optional(flight.maxVelocity->velocityMs) : std::nullopt);
    add("burnout_s", "Burnout", Quantity::Time, since(facts.burnoutTimeS, simLaunch),
        since(flight.burnoutTimeS, launch));

    // The lines in the order they fired meet the deployments in the order they happened.
    std::vector<std::pair<const char*, const analysis::LineEvent*>> lines;
    if (flight.lineA) {
        lines.push_back({"Line A", &*flight.lineA});
    }
    if (flight.lineB) {
        lines.push_back({"Line B", &*flight.lineB});
    }
    std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) {
        return a.second->at.timeS < b.second->at.timeS;
    });
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto deployed = eventTime(sim, "recoverydevicedeployment", i);
        const std::string name = lines[i].first;
        const std::string key = name == "Line A" ? "line_a" : "line_b";
        add(key + "_agl_m", name + " deployment altitude", Quantity::Altitude,
            deployed ? valueAt(sim, sim.altitudeM, *deployed) : std::nullopt,
            lines[i].second->at.aglM);
        add(key + "_time_s", name + " deployment time", Quantity::Time, since(deployed, simLaunch),
            since(lines[i].second->at.timeS, launch));
    }

    std::optional<double> simDrogue, simMain;
    if (sim.points() > 0 && facts.apogeeTimeS && facts.landingTimeS) {
        const auto first = eventTime(sim, "recoverydevicedeployment", 0);
        const auto second = eventTime(sim, "recoverydevicedeployment", 1);
        const double drogueFrom = std::max(*facts.apogeeTimeS, first.value_or(-HUGE_VAL));
        simDrogue = descentRate(sim, drogueFrom, second.value_or(*facts.landingTimeS));
        if (second) {
            simMain = descentRate(sim, std::max(*second, *facts.apogeeTimeS), *facts.landingTimeS);
        }
    }
    add("drogue_descent_ms", "Drogue descent", Quantity::Speed, simDrogue, flight.drogueRateMs);
    add("main_descent_ms", "Main descent", Quantity::Speed, simMain, flight.mainRateMs);
    add("flight_time_s", "Flight time", Quantity::Time, since(facts.landingTimeS, simLaunch),
        since(flight.landingTimeS, launch));
    if (sim.points() == 0) {
        // A summary counts its times from launch already.
        c.values[1].simulated = facts.apogeeTimeS;
        c.values.back().simulated = facts.landingTimeS;
    }
    c.apogeeErrorPct = c.values.front().differencePct();
    return c;
}

std::string simulationVerdict(const SimulationComparison& comparison,
                              const analysis::CoastDrag& drag) {
    std::string text;
    if (comparison.apogeeErrorPct) {
        const double pct = *comparison.apogeeErrorPct;
        const std::string amount = analysis::formatNumber(std::fabs(pct), 0);
        if (amount == "0") {
            text = "The flight reached the simulated apogee.";
        } else {
            text = "The flight reached " + amount + " % " + (pct < 0.0 ? "below" : "above") +
                   " the simulation.";
        }
    } else {
        text = "The apogees cannot be compared.";
    }
    if (drag.cd) {
        const std::string cd = analysis::formatNumber(*drag.cd, 2);
        text += " Its coast drag matches Cd \u2248 " + cd;
        if (drag.simCd) {
            text += " (the simulation used " + analysis::formatNumber(*drag.simCd, 2) + ")";
        }
        text += ": set the simulator's Cd override to " + cd + " to match this flight.";
    } else if (drag.fit) {
        text += " Its coast drag is k \u2248 " + analysis::formatNumber(drag.fit->kPerM, 5) +
                " /m; with the rocket's coast mass and reference area it gives the Cd to use.";
    } else if (!drag.reason.empty()) {
        text += " Its coast drag could not be measured: " + drag.reason + ".";
    }
    return text;
}

}  // namespace tevusb::simulation
