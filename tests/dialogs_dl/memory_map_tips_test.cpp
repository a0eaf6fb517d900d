// SPDX-License-Identifier: MIT
// The memory map's tooltips: what each column holds, without touching the set shown.
#include <gtest/gtest.h>

#include "support/dialog_fixture.h"
#include "support/log_capture.h"
#include "ui/dialogs/memory_map_tips.h"

namespace tevusb::ui {
namespace {

TEST(MemoryMapTips, AColumnNamesItsSetWithReadingsDurationAndApogee) {
    tevusb::testing::LogCapture quiet;
    testing::SimRig rig;
    ASSERT_EQ(rig.device.connect(device::ConnectMode::Application), device::result::kConnected);
    ASSERT_EQ(rig.device.readFlightMemory(nullptr, nullptr), 0);
    data::DataSetStore& store = rig.device.store;
    ASSERT_GE(store.setCount(), 2);
    ASSERT_TRUE(store.selectSet(0));
    const std::size_t shownReadings = store.current.size();

    const int start = store.setAddress(1);
    const QString tip = memoryMapTip(store, start + store.packetCount(1) - 1);
    EXPECT_TRUE(tip.startsWith("Set 2: ")) << tip.toStdString();
    EXPECT_TRUE(tip.contains(" readings, ")) << tip.toStdString();
    EXPECT_TRUE(tip.contains(" s, apogee ")) << tip.toStdString();
    EXPECT_TRUE(tip.contains(" m\n")) << tip.toStdString();
    EXPECT_EQ(store.current.setIndex, 0) << "the set shown stays";
    EXPECT_EQ(store.current.size(), shownReadings);

    EXPECT_EQ(memoryMapTip(store, -1), "");
    EXPECT_EQ(memoryMapTip(store, static_cast<int>(store.packets.size())), "");
    const int last = static_cast<int>(store.packets.size()) - 1;
    if (store.packets.back().isErased() && store.setIndexOfPacket(last) < 0) {
        EXPECT_TRUE(memoryMapTip(store, last).endsWith("empty"));
    }
}

}  // namespace
}  // namespace tevusb::ui
