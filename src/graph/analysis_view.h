// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QRect>

#include "analysis/flight_statistics.h"
#include "analysis/units.h"
#include "data/data_set.h"
#include "graph/analysis_layout.h"
#include "graph/analysis_view_state.h"

class QPainter;

namespace tevusb::graph {

// The analysis view's text font; its size is in points, so it suits screen and print.
QFont analysisFont();

// Draws the analysis view of a set into `target` on any paint device (window buffer,
// PNG, SVG, PDF): background, grid, time/altitude/velocity axes in `units`, both curves
// over the state's time window, the flight's markers and the state's extra markers.
// It changes nothing but the painter's pixels (the painter's state is restored) and
// returns the layout it used, so a readout can find the samples under a point.
AnalysisLayout drawAnalysisView(QPainter& painter, const QRect& target, const data::DataSet& set,
                                const analysis::FlightStatistics& statistics,
                                const AnalysisViewState& state, analysis::UnitSystem units);

}  // namespace tevusb::graph
