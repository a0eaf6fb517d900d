// SPDX-License-Identifier: MIT
#include "simulation/simulation_json.h"

namespace tevusb::simulation {

namespace {

using json = nlohmann::ordered_json;

json orNull(const std::optional<double>& v) {
    return v ? json(*v) : json(nullptr);
}

}  // namespace

json simulationJson(const Simulation& sim, const SimulationFacts& facts) {
    json j;
    j["name"] = sim.name;
    j["points"] = sim.points();
    j["apogee_m"] = orNull(facts.apogeeM);
    j["apogee_time_s"] = orNull(facts.apogeeTimeS);
    j["max_velocity_ms"] = orNull(facts.maxVerticalVelocityMs);
    json events = json::array();
    for (const auto& e : sim.events) {
        events.push_back({{"type", e.type}, {"time_s", e.timeS}});
    }
    j["events"] = std::move(events);
    j["coast_mass_kg"] = orNull(facts.coastMassKg);
    j["reference_area_m2"] = orNull(facts.referenceAreaM2);
    return j;
}

json comparisonJson(const Simulation& sim, const SimulationFacts& facts,
                    const SimulationComparison& comparison, const std::string& verdict) {
    json j = simulationJson(sim, facts);
    j["apogee_error_pct"] = orNull(comparison.apogeeErrorPct);
    json values = json::object();
    for (const auto& v : comparison.values) {
        values[v.key] = {{"simulated", orNull(v.simulated)},
                         {"flown", orNull(v.flown)},
                         {"difference", orNull(v.difference())},
                         {"difference_pct", orNull(v.differencePct())}};
    }
    j["comparison"] = std::move(values);
    j["verdict"] = verdict;
    return j;
}

}  // namespace tevusb::simulation
