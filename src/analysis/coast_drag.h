// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "analysis/flight_statistics.h"
#include "data/data_set.h"

namespace tevusb::analysis {

// The coast fitted with the vertical ballistic model a = -g - k v|v| rho(h)/rho(h0)
// (standard atmosphere, h0 the launch site): k in 1/m at the site's density, the altitude
// residual it leaves (RMS, m) and k's standard error.
struct CoastDragFit {
    double kPerM = 0.0;
    double kStdErrPerM = 0.0;
    double residualM = 0.0;
    double fromS = 0.0;  // burnout + 0.5 s
    double toS = 0.0;    // apogee
    std::size_t samples = 0;
};

// The fit, or the reason there is none, and the drag coefficient where the rocket's
// coast mass and reference area are known: Cd = 2 m k / (rho(h0) A).
struct CoastDrag {
    std::optional<CoastDragFit> fit;
    std::string reason;  // why there is no fit; empty when there is one
    double siteDensityKgM3 = 0.0;
    std::optional<double> massKg;
    std::optional<double> referenceAreaM2;
    std::optional<double> cd;
    std::optional<double> simCd;  // the simulation's own mean over its coast, for comparison
};

// Fits the flight's coast (burnout + 0.5 s to apogee) by least squares on the altitude
// samples, not on differentiated noise. Refuses a flight without launch, burnout or
// apogee, a coast too short (under 1.5 s) and one too noisy to pin k down.
CoastDrag fitCoastDrag(const data::DataSet& set, const FlightStatistics& stats);

// Adds what is known of the rocket and works out Cd when both mass and area are there.
void setRocket(CoastDrag& drag, std::optional<double> massKg, std::optional<double> areaM2,
               std::optional<double> simCd);

}  // namespace tevusb::analysis
