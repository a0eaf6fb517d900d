// SPDX-License-Identifier: MIT
#include "ui/compare/simulation_curve.h"

#include <QFileInfo>
#include <cmath>

#include "simulation/simulation_facts.h"

namespace tevusb::ui {

namespace {

constexpr double kSampleS = 0.1;  // a flight's reading interval
// A simulation longer than the altimeter could record is cut there: 65535 packets' worth.
constexpr std::size_t kMostSamples = 2'000'000;

analysis::FlightPoint pointAt(double t, double altitude, double velocity) {
    analysis::FlightPoint p;
    p.sample = static_cast<int>(std::lround(t / kSampleS));
    p.timeS = p.sample * kSampleS;
    p.aglM = altitude;
    p.velocityMs = velocity;
    return p;
}

}  // namespace

std::optional<graph::ComparedFlight> simulationCurve(const simulation::Simulation& sim,
                                                     const QString& name) {
    if (sim.points() == 0 || !std::isfinite(sim.timeS.back()) || sim.timeS.back() <= 0.0) {
        return std::nullopt;
    }
    graph::ComparedFlight curve;
    curve.name = name;
    const std::size_t n = std::min(
        kMostSamples, static_cast<std::size_t>(std::floor(sim.timeS.back() / kSampleS)) + 1);
    curve.set.smoothedAltitude.reserve(n);
    curve.set.smoothedVelocity.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) * kSampleS;
        curve.set.smoothedAltitude.push_back(
            simulation::valueAt(sim, sim.altitudeM, t).value_or(std::nan("")));
        curve.set.smoothedVelocity.push_back(
            simulation::valueAt(sim, sim.verticalVelocityMs, t).value_or(std::nan("")));
    }
    const simulation::SimulationFacts facts = simulation::simulationFacts(sim);
    analysis::FlightStatistics& s = curve.statistics;
    s.readings = static_cast<decltype(s.readings)>(n);
    s.durationS = static_cast<double>(n - 1) * kSampleS;
    s.launchTimeS = facts.launchTimeS;
    s.burnoutTimeS = facts.burnoutTimeS;
    s.landingTimeS = facts.landingTimeS;
    if (facts.apogeeM && facts.apogeeTimeS) {
        s.apogee = pointAt(*facts.apogeeTimeS, *facts.apogeeM, 0.0);
    }
    if (facts.maxVerticalVelocityMs) {
        // The time of the peak: the first row that reaches it.
        for (std::size_t i = 0; i < sim.points(); ++i) {
            if (sim.verticalVelocityMs[i] == *facts.maxVerticalVelocityMs) {
                s.maxVelocity = pointAt(sim.timeS[i], sim.altitudeM[i], sim.verticalVelocityMs[i]);
                break;
            }
        }
    }
    return curve;
}

bool isSimulationFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QStringLiteral("ork") || suffix == QStringLiteral("csv") ||
           suffix == QStringLiteral("txt");
}

}  // namespace tevusb::ui
