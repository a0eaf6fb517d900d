// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

#include "analysis/units.h"

#include "data/data_set.h"
#include "graph/graph_mapping.h"

class QPainter;

namespace tevusb::graph {

// Draws the set view's lines and texts (ground, both curves, line bars, peak labels,
// legend) of a set onto an already filled buffer. An empty set draws nothing. The peak
// labels read in `units` (metres and km/h, exactly as designed, unless the flyer chose
// imperial); the curves stay where they are either way.
// A peak label of the set view: where it sits (time, value in the curve's own unit) and
// what it reads.
struct PeakLabel {
    float seconds = 0.0f;
    float value = 0.0f;
    QString text;
};
// The altitude and the velocity peak labels of a set (none for an empty set).
std::vector<PeakLabel> peakLabels(const data::DataSet& set, analysis::UnitSystem units);

void drawSetView(QPainter& painter, const GraphMapping& mapping, const data::DataSet& set,
                 analysis::UnitSystem units = analysis::UnitSystem::Metric);

// Index of the first largest value; -1 for an empty series.
int peakIndex(const std::vector<double>& series);

}  // namespace tevusb::graph
