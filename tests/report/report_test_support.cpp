// SPDX-License-Identifier: MIT
#include "report_test_support.h"

#include <gtest/gtest.h>

#include "graph/synthetic/synthetic_flight.h"

namespace tevusb::report::testing {

void loadSample(data::DataSetStore& store) {
    ASSERT_TRUE(store.loadSetFile(TEVUSB_SAMPLE_FLIGHT));
    ASSERT_TRUE(store.selectSet(0));
    ASSERT_GT(store.current.size(), 0u);
}

void loadFullMemory(data::DataSetStore& store) {
    synthetic::FlightProfile profile;
    profile.readingCount = 128 * 31;
    profile.apogeeAgl = 1500.0;
    store.packets = synthetic::packWords(synthetic::flightWords(profile));
    store.comments.assign(1, "Full memory");
    ASSERT_EQ(store.packets.size(), 128u);
    ASSERT_TRUE(store.selectSet(0));
    ASSERT_EQ(store.current.size(), 3968u);
}

}  // namespace tevusb::report::testing
