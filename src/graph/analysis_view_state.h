// SPDX-License-Identifier: MIT
#pragma once

#include <QRgb>
#include <QString>
#include <memory>
#include <vector>

#include "graph/time_window.h"

namespace tevusb::graph {

// A marker someone else puts on the flight (for instance a launch-emulation event):
// a vertical line at `timeS` with a short label in `colour`.
struct ExtraMarker {
    double timeS = 0.0;
    QString label;
    QRgb colour = 0xFF000000;
};

struct SimulationOverlay;

// What the analysis view shows of the current set beyond its data: the visible time
// span and the extra markers, both reset when another flight is shown, and the flight's
// name for its header (whoever shows a flight names it).
struct AnalysisViewState {
    TimeWindow window;
    std::vector<ExtraMarker> extraMarkers;
    // A simulation drawn over the flight; none at first and after another flight is shown.
    std::shared_ptr<const SimulationOverlay> simulation;
    QString title;
};

}  // namespace tevusb::graph
