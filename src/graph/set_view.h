// SPDX-License-Identifier: MIT
#pragma once

#include "data/data_set.h"
#include "graph/graph_mapping.h"

class QPainter;

namespace tevusb::graph {

// Draws the set view's lines and texts (ground, both curves, line bars, peak labels,
// legend) of a set onto an already filled buffer. An empty set draws nothing.
void drawSetView(QPainter& painter, const GraphMapping& mapping, const data::DataSet& set);

// Index of the first largest value; -1 for an empty series.
int peakIndex(const std::vector<double>& series);

}  // namespace tevusb::graph
