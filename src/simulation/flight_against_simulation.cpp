// SPDX-License-Identifier: MIT
#include "simulation/flight_against_simulation.h"

#include <numbers>

#include "analysis/coast_drag_json.h"

namespace tevusb::simulation {

ImportResult<Simulation> pickSimulation(const std::vector<Simulation>& sims,
                                        const std::optional<std::string>& name,
                                        const std::string& fileName) {
    if (sims.empty()) {
        return ImportError{fileName + ": holds no simulation."};
    }
    if (name) {
        for (const auto& sim : sims) {
            if (sim.name == *name) {
                return sim;
            }
        }
        std::string names;
        for (const auto& sim : sims) {
            names += (names.empty() ? "\"" : ", \"") + sim.name + "\"";
        }
        return ImportError{oneLine(fileName + ": no simulation named \"" + *name + "\" (it holds " +
                                   names + ").")};
    }
    for (const auto& sim : sims) {
        if (sim.points() > 0) {
            return sim;
        }
    }
    return sims.front();
}

analysis::CoastDrag coastDragFor(const data::DataSet& set, const analysis::FlightStatistics& stats,
                                 const RocketOverrides& rocket, const SimulationFacts* facts) {
    analysis::CoastDrag drag = analysis::fitCoastDrag(set, stats);
    std::optional<double> mass = rocket.massKg;
    std::optional<double> area;
    std::optional<double> simCd;
    if (rocket.diameterM) {
        area = std::numbers::pi * *rocket.diameterM * *rocket.diameterM / 4.0;
    }
    if (facts != nullptr) {
        mass = mass ? mass : facts->coastMassKg;
        area = area ? area : facts->referenceAreaM2;
        simCd = facts->coastCd;
    }
    analysis::setRocket(drag, mass, area, simCd);
    return drag;
}

std::string FlightAgainstSimulation::heading() const {
    return oneLine("Simulation \"" + sim.name + "\" (" + fileName + ")");
}

std::vector<ComparisonRow> FlightAgainstSimulation::rows(analysis::UnitSystem units) const {
    return comparisonRows(comparison, units);
}

analysis::StatisticsRow FlightAgainstSimulation::dragRow(analysis::UnitSystem units) const {
    return analysis::coastDragRow(drag, units);
}

FlightAgainstSimulation compareFlight(const data::DataSet& set,
                                      const analysis::FlightStatistics& stats, Simulation sim,
                                      std::string fileName, const RocketOverrides& rocket) {
    FlightAgainstSimulation result;
    result.facts = simulationFacts(sim);
    result.sim = std::move(sim);
    result.fileName = std::move(fileName);
    result.comparison = compareWithSimulation(stats, result.sim, result.facts);
    result.drag = coastDragFor(set, stats, rocket, &result.facts);
    result.verdict = simulationVerdict(result.comparison, result.drag);
    return result;
}

}  // namespace tevusb::simulation
