// SPDX-License-Identifier: MIT
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "simulation/simulation.h"
#include "simulation/simulation_comparison.h"
#include "simulation/simulation_facts.h"

namespace tevusb::simulation {

// One simulation for programs, SI units, null where absent: name, points, apogee_m,
// apogee_time_s, max_velocity_ms, events [{type, time_s}], coast_mass_kg,
// reference_area_m2.
nlohmann::ordered_json simulationJson(const Simulation& sim, const SimulationFacts& facts);

// The same with the flight against it: apogee_error_pct, comparison {key: {simulated,
// flown, difference, difference_pct}} and the verdict in words.
nlohmann::ordered_json comparisonJson(const Simulation& sim, const SimulationFacts& facts,
                                      const SimulationComparison& comparison,
                                      const std::string& verdict);

}  // namespace tevusb::simulation
