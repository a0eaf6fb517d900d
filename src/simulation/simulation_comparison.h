// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/coast_drag.h"
#include "analysis/flight_statistics.h"
#include "analysis/units.h"
#include "simulation/simulation.h"
#include "simulation/simulation_facts.h"

namespace tevusb::simulation {

// One quantity as simulated and as flown; times count from launch in both.
struct ComparedValue {
    std::string key;    // for programs: "apogee_m", "burnout_s", ...
    std::string label;  // for people: "Apogee", "Burnout"
    analysis::Quantity quantity = analysis::Quantity::Altitude;
    std::optional<double> simulated;
    std::optional<double> flown;

    std::optional<double> difference() const;     // flown - simulated
    std::optional<double> differencePct() const;  // of the simulated value
};

// The flight against its simulation, aligned at launch: apogee and its time, peak
// vertical velocity, burnout, each line's deployment (the first line to fire against the
// simulation's first recovery-device deployment, the second against the second), descent
// rates and flight time.
struct SimulationComparison {
    std::vector<ComparedValue> values;
    // 100 (flight apogee - simulated apogee) / simulated apogee.
    std::optional<double> apogeeErrorPct;
};

SimulationComparison compareWithSimulation(const analysis::FlightStatistics& flight,
                                           const Simulation& sim, const SimulationFacts& facts);

// What the flyer takes home, in words: how far the apogee missed, and the drag
// coefficient that would have made the simulation right.
std::string simulationVerdict(const SimulationComparison& comparison,
                              const analysis::CoastDrag& drag);

}  // namespace tevusb::simulation
