// SPDX-License-Identifier: MIT
#pragma once

#include "data/data_set.h"

namespace tevusb::testing {

// A set of `n` readings climbing 2 m per sample at 20 m/s from 100 m above sea level: one
// sample's travel is 2 m.
inline data::DataSet rampSet(int n) {
    data::DataSet set;
    for (int i = 0; i < n; ++i) {
        set.adcCounts.push_back(8000 - i);
        set.altitudeAgl.push_back(2.0 * i);
        set.altitudeMsl.push_back(100.0 + 2.0 * i);
        set.smoothedAltitude.push_back(2.0 * i);
        set.velocity.push_back(20.0);
        set.smoothedVelocity.push_back(20.0);
        set.velocityKmh.push_back(72.0);
        set.voltage.push_back(1.0);
        set.pressure.push_back(100.0);
        set.lineFlags.push_back(0);
    }
    return set;
}

}  // namespace tevusb::testing
