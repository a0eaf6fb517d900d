// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/coast_drag.h"
#include "analysis/flight_statistics.h"
#include "analysis/statistics_table.h"
#include "analysis/units.h"
#include "data/data_set.h"
#include "simulation/comparison_rows.h"
#include "simulation/import_error.h"
#include "simulation/simulation.h"
#include "simulation/simulation_comparison.h"
#include "simulation/simulation_facts.h"

namespace tevusb::simulation {

// What the flyer says of the rocket beside (and over) the simulation's own values.
struct RocketOverrides {
    std::optional<double> massKg;
    std::optional<double> diameterM;
};

// The simulation of a file's `sims` (never empty) that a comparison uses: the one named,
// else the first with data rows, else the first. A name the file does not hold is refused
// with a line naming the file and the names it does hold.
ImportResult<Simulation> pickSimulation(const std::vector<Simulation>& sims,
                                        const std::optional<std::string>& name,
                                        const std::string& fileName);

// The coast drag of a flight with the rocket's mass and area: the flyer's values win over
// the simulation's; without a simulation only the flyer's count.
analysis::CoastDrag coastDragFor(const data::DataSet& set, const analysis::FlightStatistics& stats,
                                 const RocketOverrides& rocket, const SimulationFacts* facts);

// Everything every front shows of one flight against one simulation: the window's overlay
// and panel, the report and the command line read the same figures from here.
struct FlightAgainstSimulation {
    Simulation sim;
    SimulationFacts facts;
    std::string fileName;
    SimulationComparison comparison;
    analysis::CoastDrag drag;
    std::string verdict;

    // "Simulation "NAME" (FILE)" on one line.
    std::string heading() const;
    std::vector<ComparisonRow> rows(analysis::UnitSystem units) const;
    analysis::StatisticsRow dragRow(analysis::UnitSystem units) const;
};

FlightAgainstSimulation compareFlight(const data::DataSet& set,
                                      const analysis::FlightStatistics& stats, Simulation sim,
                                      std::string fileName, const RocketOverrides& rocket = {});

}  // namespace tevusb::simulation
