// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "analysis/flight_alignment.h"
#include "analysis/flight_statistics.h"
#include "analysis/units.h"
#include "data/data_set.h"
#include "graph/analysis_layout.h"
#include "graph/time_window.h"

class QPainter;

namespace tevusb::graph {

// One flight of a comparison: the name its legend shows, its decoded set and statistics.
struct ComparedFlight {
    QString name;
    data::DataSet set;
    analysis::FlightStatistics statistics;
};

// What the comparison shows. The window runs over the aligned span from its start:
// common time = alignment.startS + window time.
struct ComparisonState {
    analysis::AlignAt alignAt = analysis::AlignAt::Launch;
    bool altitude = true;
    bool velocity = false;
    TimeWindow window;
};

// The colour of the flight at `index`; ten that tell apart on white, then they repeat.
QRgb comparisonColour(std::size_t index);

// Draws the flights lined up on one graph into `target` of any paint device, with the
// analysis view's grid, axes (time from the aligned moment, altitude left, velocity
// right) and a legend naming each flight in its colour. Returns the layout, whose time
// mapping is in common time.
AnalysisLayout drawComparison(QPainter& painter, const QRect& target,
                              const std::vector<ComparedFlight>& flights,
                              const analysis::FlightAlignment& alignment,
                              const ComparisonState& state, analysis::UnitSystem units);

// What the cursor at common time `t` reads: the time from the moment the flights are
// lined up on ("T+12.0 s", "2.0 s after apogee"), then each flight's altitude and velocity
// at its nearest sample, led by the flight's own time where that is not the first line's
// ("—" where the flight has no sample there).
QStringList comparisonReadout(const std::vector<ComparedFlight>& flights,
                              const analysis::FlightAlignment& alignment, double t,
                              analysis::AlignAt at, analysis::UnitSystem units);

// The cursor line at common time `t`, a dot on each shown curve and the readout box.
void drawComparisonCursor(QPainter& painter, const AnalysisLayout& layout,
                          const std::vector<ComparedFlight>& flights,
                          const analysis::FlightAlignment& alignment, const ComparisonState& state,
                          double t);

}  // namespace tevusb::graph
