// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "graph/comparison_view.h"
#include "simulation/simulation.h"

namespace tevusb::ui {

// A simulation as one more curve of a comparison: its altitude and vertical velocity taken
// every 0.1 s on its own clock (as a flight's readings are), its liftoff as the launch, its
// apogee, peak velocity, burnout and landing as the statistics. Nothing for a simulation
// without data rows.
std::optional<graph::ComparedFlight> simulationCurve(const simulation::Simulation& sim,
                                                     const QString& name);

// True when the file is a simulation rather than a data-set file, by its extension
// (.ork, .csv, .txt): those go to the simulation reader.
bool isSimulationFile(const QString& path);

}  // namespace tevusb::ui
