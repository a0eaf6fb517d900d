// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "data/data_set_store.h"
#include "packet_builder.h"
#include "support/log_capture.h"

using tevusb::data::DataSetStore;
using tevusb::data::FastSet;
using tevusb::testing::fullPacket;
using tevusb::testing::LogCapture;
using tevusb::testing::makePacket;

namespace {

// Image: a stray continuation packet, set 0 of two packets, set 1 of one packet.
DataSetStore threeRunStore() {
    DataSetStore s;
    s.packets = {makePacket(0, {100}), makePacket(2, {13000, 12990}), makePacket(0, {12980}),
                 makePacket(2, {12000, 0x8000 | 11990, 0x4000 | 11980})};
    return s;
}

}  // namespace

TEST(DataSetStore, FindsSetsByTheirStartPackets) {
    DataSetStore s = threeRunStore();
    EXPECT_EQ(s.setCount(), 2);
    EXPECT_EQ(s.setAddress(0), 1);
    EXPECT_EQ(s.setAddress(1), 3);
    EXPECT_EQ(s.setAddress(2), -1);
    EXPECT_EQ(s.setAddress(-3), -1);
    EXPECT_EQ(s.setIndexOfPacket(0), -1);  // before the first set
    EXPECT_EQ(s.setIndexOfPacket(1), 0);
    EXPECT_EQ(s.setIndexOfPacket(2), 0);
    EXPECT_EQ(s.setIndexOfPacket(3), 1);
    EXPECT_EQ(s.setIndexOfPacket(4), -1);
    EXPECT_EQ(s.setIndexOfPacket(-1), -1);
}

TEST(DataSetStore, PacketCountStopsAtTheNextSetOrAnErasedPacket) {
    DataSetStore s = threeRunStore();
    LogCapture log;
    EXPECT_EQ(s.packetCount(0), 2);
    EXPECT_EQ(s.packetCount(1), 1);
    EXPECT_TRUE(log.has("Set: 0"));
    EXPECT_TRUE(log.has("Set Address: 1"));
    s.packets.insert(s.packets.begin() + 2, makePacket(0xFF));
    EXPECT_EQ(s.packetCount(0), 1);
    EXPECT_EQ(s.packetCount(7), 0);  // an invalid set is defined: no packets
}

TEST(DataSetStore, SelectDecodesReadingsAndFlags) {
    DataSetStore s = threeRunStore();
    ASSERT_TRUE(s.selectSet(1));
    EXPECT_EQ(s.current.setIndex, 1);
    EXPECT_EQ(s.current.adcCounts, (std::vector<int>{12000, 11990, 11980}));
    EXPECT_EQ(s.current.lineFlags, (std::vector<std::uint8_t>{0, 2, 1}));
    EXPECT_EQ(s.readingCount(), 3);

    ASSERT_TRUE(s.selectSet(0));
    EXPECT_EQ(s.current.adcCounts, (std::vector<int>{13000, 12990, 12980}));
}

TEST(DataSetStore, SelectHandlesMissingAndInvalidSets) {
    DataSetStore s = threeRunStore();
    s.selectSet(1);
    EXPECT_FALSE(s.selectSet(-1));
    EXPECT_EQ(s.current.setIndex, 1);  // unchanged
    EXPECT_EQ(s.readingCount(), 3);

    EXPECT_TRUE(s.selectSet(5));
    EXPECT_EQ(s.current.setIndex, 5);
    EXPECT_EQ(s.readingCount(), 0);
    EXPECT_EQ(s.indexOfMaximum(s.current.altitudeAgl), -1);
}

TEST(DataSetStore, EmptySlotSkipsOnlyTheRestOfItsPacket) {
    DataSetStore s;
    auto first = makePacket(2, {1000, 0xFFFF, 1001});  // 1001 is never read
    s.packets = {first, makePacket(7, {1002}), makePacket(0xFF, {1003})};
    s.selectSet(0);
    // An erased packet inside a run does not end the set; only its empty slots are skipped.
    EXPECT_EQ(s.current.adcCounts, (std::vector<int>{1000, 1002, 1003}));
}

TEST(DataSetStore, IndexOfMaximumTakesTheFirstOfEqualPeaks) {
    DataSetStore s = threeRunStore();
    s.selectSet(0);
    EXPECT_EQ(s.indexOfMaximum({1.0, 5.0, 5.0, 2.0}), 1);
    EXPECT_EQ(s.indexOfMaximum({-3.0}), 0);
}

TEST(DataSetStore, CommentsOutsideTheListAreIgnored) {
    DataSetStore s;
    s.comments = {"a"};
    s.setComment(0, "first");
    s.setComment(3, "lost");
    s.setComment(-1, "lost");
    EXPECT_EQ(s.comments, (std::vector<std::string>{"first"}));
    EXPECT_EQ(s.comment(3), "");
}

TEST(DataSetStore, SelectingAFullMemoryGivesEveryReading) {
    DataSetStore s;
    s.packets.push_back(fullPacket(2, 12000));
    for (int i = 1; i < 128; ++i) {
        s.packets.push_back(fullPacket(0, 12000));
    }
    LogCapture quiet;
    s.selectSet(0);
    EXPECT_EQ(s.readingCount(), 128 * 31);
}

TEST(FastSet, StartsEmptyAndTracksThePeak) {
    FastSet f;
    EXPECT_EQ(f.range.width, 1);
    EXPECT_EQ(f.range.height, 1);
    f.add(0xFFFF, 0);
    EXPECT_TRUE(f.values.empty());
    f.add(13384, 0);
    EXPECT_EQ(f.values.size(), 1u);
    EXPECT_EQ(f.values[0], 0.0);
    EXPECT_EQ(f.maxAltitude, 0.0f);
    EXPECT_EQ(f.range.width, 5);
    f.add(0x8000 | 12000, 0);  // flags do not change the altitude
    f.add(12500, 0);
    EXPECT_NEAR(f.maxAltitude, 812.37, 0.05);
    EXPECT_FLOAT_EQ(f.maxTime, 0.1f);
    EXPECT_EQ(f.range.height, static_cast<int>(f.maxAltitude));
    EXPECT_EQ(f.range.x, 0);
    EXPECT_EQ(f.range.y, 0);
}

TEST(FastSet, RangeWidthGrowsInFiveSecondSteps) {
    FastSet f;
    for (int i = 0; i < 49; ++i) {
        f.add(13000, 0);
    }
    EXPECT_EQ(f.range.width, 5);
    f.add(13000, 0);
    EXPECT_EQ(f.range.width, 10);
    for (int i = 0; i < 50; ++i) {
        f.add(13000, 0);
    }
    EXPECT_EQ(f.range.width, 15);
}

TEST(FastSet, NeverRisingKeepsZeroPeakAndClearKeepsRange) {
    FastSet f;
    f.add(12000, 0);
    f.add(12100, 0);  // lower altitude
    EXPECT_EQ(f.maxAltitude, 0.0f);
    EXPECT_EQ(f.maxTime, 0.0f);
    const double ground = f.ground;
    f.clear();
    EXPECT_TRUE(f.values.empty());
    EXPECT_EQ(f.range.width, 5);
    EXPECT_EQ(f.ground, ground);
    f.add(13000, 0);
    EXPECT_NE(f.ground, ground);  // a new set starts from its own first value
}
