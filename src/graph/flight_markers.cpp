// SPDX-License-Identifier: MIT
#include "graph/flight_markers.h"

#include "graph/analysis_palette.h"

namespace tevusb::graph {

std::vector<ExtraMarker> flightMarkers(const analysis::FlightStatistics& statistics,
                                       analysis::UnitSystem units) {
    std::vector<ExtraMarker> markers;
    const auto add = [&](double t, QString label, QRgb colour) {
        markers.push_back({t, std::move(label), colour});
    };
    if (statistics.launchTimeS) {
        add(*statistics.launchTimeS, QStringLiteral("Launch"), analysis_palette::kPhase);
    }
    if (statistics.burnoutTimeS) {
        add(*statistics.burnoutTimeS, QStringLiteral("Burnout"), analysis_palette::kBurnout);
    }
    if (statistics.apogee) {
        // The statistics' apogee is the highest raw reading; the drawn curve is smoothed and
        // peaks a little lower, so the label says which it gives.
        const std::string height = analysis::formatAltitude(statistics.apogee->aglM, units);
        add(statistics.apogee->timeS,
            QStringLiteral("Apogee ") + QString::fromStdString(height) + QStringLiteral(" (raw)"),
            analysis_palette::kApogee);
    }
    if (statistics.lineA) {
        add(statistics.lineA->at.timeS, QStringLiteral("Line A"), analysis_palette::kLineA);
    }
    if (statistics.lineB) {
        add(statistics.lineB->at.timeS, QStringLiteral("Line B"), analysis_palette::kLineB);
    }
    if (statistics.landingTimeS) {
        add(*statistics.landingTimeS, QStringLiteral("Landing"), analysis_palette::kPhase);
    }
    return markers;
}

}  // namespace tevusb::graph
