// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "graph/analysis_view_state.h"
#include "simulation/flight_against_simulation.h"
#include "simulation/simulation.h"
#include "simulation/simulation_facts.h"

class QPainter;

namespace tevusb::graph {

class AnalysisLayout;

// A simulation as the analysis view draws it over a flight: its rows moved onto the
// flight's clock (the simulation's liftoff on the flight's launch), its events as markers
// and its name for the legend. Rows whose altitude is not a number are left out.
struct SimulationOverlay {
    QString name;
    std::vector<double> timeS;
    std::vector<double> altitudeM;
    std::vector<double> velocityMs;  // NaN where the simulation has none
    std::vector<ExtraMarker> events;
    // The figures every front shows beside the curves (panel, report).
    std::shared_ptr<const simulation::FlightAgainstSimulation> comparison;
};

// `flightLaunchS` is the flight's launch time; without one the simulation starts at 0 s.
SimulationOverlay makeSimulationOverlay(const simulation::Simulation& sim,
                                        const simulation::SimulationFacts& facts,
                                        std::optional<double> flightLaunchS);
// The same for a comparison, which the overlay then carries.
SimulationOverlay makeSimulationOverlay(
    std::shared_ptr<const simulation::FlightAgainstSimulation> comparison,
    std::optional<double> flightLaunchS);

// Widens [low, high] of altitude and velocity to what the overlay shows in [t0, t1], so
// a simulation that flew higher than the flight stays inside the plot.
void widenForOverlay(const SimulationOverlay& overlay, double t0, double t1, double& altitudeLow,
                     double& altitudeHigh, double& velocityLow, double& velocityHigh);

// Both simulated curves dashed in the flight's colours, clipped to the plot, and a legend
// telling the solid flight from the dashed simulation in the plot's top right corner.
void drawSimulationOverlay(QPainter& painter, const AnalysisLayout& layout,
                           const SimulationOverlay& overlay);

}  // namespace tevusb::graph
