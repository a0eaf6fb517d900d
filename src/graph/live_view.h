// SPDX-License-Identifier: MIT
#pragma once

#include "data/fast_set.h"
#include "graph/graph_mapping.h"

class QPainter;

namespace tevusb::graph {

// Draws the live view's lines and texts (ground, the growing altitude curve, its peak
// and "Ground") onto an already filled buffer. Ground and labels are drawn also while
// the series holds fewer than two values.
void drawLiveView(QPainter& painter, const GraphMapping& mapping, const data::FastSet& fast);

}  // namespace tevusb::graph
