// SPDX-License-Identifier: MIT
#pragma once

#include "data/data_set.h"
#include "data/graph_scale.h"

namespace tevusb::graph {

// The scale the set view is drawn with for `set` on a width x height picture: time from 0
// over whole seconds, values from the lowest to the highest truncated point of both
// curves. An empty set gets a neutral range (nothing is drawn for it).
data::GraphScale fitSetScale(const data::DataSet& set, int width, int height);

}  // namespace tevusb::graph
