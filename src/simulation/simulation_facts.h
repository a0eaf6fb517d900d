// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "simulation/simulation.h"

namespace tevusb::simulation {

// What a flyer reads off one simulation, in SI units and the simulation's own time.
struct SimulationFacts {
    // The first largest altitude and its time; the summary's values without data rows.
    std::optional<double> apogeeM;
    std::optional<double> apogeeTimeS;
    std::optional<double> maxVerticalVelocityMs;  // largest vertical velocity
    // Where the flight is aligned: liftoff (when the rocket leaves the pad, as the
    // flight's launch time is found), else launch, else the first row.
    std::optional<double> launchTimeS;
    std::optional<double> burnoutTimeS;  // the first burnout event
    std::optional<double> landingTimeS;  // ground hit, else the last row
    // Mass at burnout (at apogee without a burnout event).
    std::optional<double> coastMassKg;
    // π d²/4 from the reference length where there is one (the design file rounds areas
    // to 0.001 m², 15 % off for a 57 mm rocket), else the reference area column.
    std::optional<double> referenceAreaM2;
    // The mean drag coefficient from burnout + 0.5 s to apogee, the phase the flight's
    // drag is fitted over.
    std::optional<double> coastCd;
};

SimulationFacts simulationFacts(const Simulation& sim);

// The time of the `nth` (0-based) event of `type`; nothing when there are fewer.
std::optional<double> eventTime(const Simulation& sim, std::string_view type, std::size_t nth = 0);

// `series` (one value per row) at time t, linear between rows, held at the ends; nothing
// for an empty series or a value that is not a number there.
std::optional<double> valueAt(const Simulation& sim, const std::vector<double>& series, double t);

}  // namespace tevusb::simulation
