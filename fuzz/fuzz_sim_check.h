// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>
#include <cstdlib>
#include <vector>

#include "simulation/simulation.h"
#include "simulation/simulation_facts.h"
#include "simulation/simulation_json.h"

namespace tevusb::fuzz {

// What every accepted simulation must be: series of one length (or empty where
// optional), times and altitudes that are numbers, times in order, events in order; and
// the facts and JSON the fronts make of it must come out without a fault.
inline void checkSimulation(const simulation::Simulation& sim) {
    const std::size_t n = sim.points();
    if (sim.altitudeM.size() != n || sim.verticalVelocityMs.size() != n) {
        std::abort();
    }
    for (const auto* series :
         {&sim.verticalAccelerationMs2, &sim.totalVelocityMs, &sim.massKg, &sim.dragCoefficient,
          &sim.referenceAreaM2, &sim.referenceLengthM, &sim.machNumber, &sim.airDensityKgM3}) {
        if (!series->empty() && series->size() != n) {
            std::abort();
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(sim.timeS[i]) || !std::isfinite(sim.altitudeM[i]) ||
            (i > 0 && sim.timeS[i] < sim.timeS[i - 1])) {
            std::abort();
        }
    }
    for (std::size_t i = 1; i < sim.events.size(); ++i) {
        if (sim.events[i].timeS < sim.events[i - 1].timeS) {
            std::abort();
        }
    }
    const auto facts = simulation::simulationFacts(sim);
    if (n > 0 && (!facts.apogeeM || !std::isfinite(*facts.apogeeM))) {
        std::abort();
    }
    (void)simulation::simulationJson(sim, facts)
        .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

inline void checkAll(const std::vector<simulation::Simulation>& sims) {
    if (sims.empty()) {
        std::abort();  // an empty list must be a refusal instead
    }
    for (const auto& sim : sims) {
        checkSimulation(sim);
    }
}

}  // namespace tevusb::fuzz
