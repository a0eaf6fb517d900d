// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <cstddef>
#include <optional>

#include "analysis/units.h"
#include "data/data_set.h"
#include "graph/analysis_layout.h"

class QPainter;

namespace tevusb::graph {

// The sample under the cursor, with the values the curves show there.
struct ReadoutSample {
    std::size_t index = 0;
    double timeS = 0.0;
    double altitudeM = 0.0;
    double velocityMs = 0.0;
    bool lineA = false;
    bool lineB = false;
    // The flight's launch on the same clock; without one, times count from the recording.
    std::optional<double> launchTimeS;
};

// The visible sample nearest to pixel column x; nothing when x lies outside the plot
// (a few pixels of slack) or the set has no visible sample. Constant time: samples are
// evenly spaced.
std::optional<ReadoutSample> nearestSample(const data::DataSet& set, const AnalysisLayout& layout,
                                           double x);

// "Time T+12.3 s" (or "Time 12.3 s into the recording"), "Altitude 512.0 m", "Velocity -3.2 m/s",
// "Line A on  Line B off".
QStringList readoutLines(const ReadoutSample& sample, analysis::UnitSystem units);

// The cursor line at the sample, a dot on each curve and a box with the readout lines,
// kept inside the plot. Drawn over a finished picture; the painter's state is restored.
void drawCursorReadout(QPainter& painter, const AnalysisLayout& layout,
                       const ReadoutSample& sample);
// The readout's box of `lines` beside pixel column x, kept inside `plot`.
void drawReadoutBox(QPainter& painter, const QRect& plot, int x, const QStringList& lines);

}  // namespace tevusb::graph
