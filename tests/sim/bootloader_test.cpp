// SPDX-License-Identifier: MIT
// The bootloader's side of a firmware update, with 65-byte reports.
#include <gtest/gtest.h>

#include <algorithm>

#include "sim_test_support.h"

namespace tevusb::device::sim::test {
namespace {

struct BootBench {
    BootBench()
        : bench(0, [] {
              SimConfig c;
              c.bootloader = true;
              return c;
          }()) {}
    Bench bench;

    // The three reports of one block write, then the answer's status byte.
    std::optional<std::uint8_t> writeBlock(std::uint16_t address, std::uint8_t fill) {
        RawLink& link = bench.link;
        link.sendBoot({2});
        link.sendBoot(
            {static_cast<std::uint8_t>(address & 0xFF), static_cast<std::uint8_t>(address >> 8)});
        if (link.receiveBoot(0)) {
            ADD_FAILURE() << "answered before the data";
        }
        link.sendBoot(std::vector<std::uint8_t>(64, fill));
        const auto answer = link.receiveBoot(0);
        if (!answer || answer->size() != 64) {
            return std::nullopt;
        }
        return (*answer)[0];
    }
};

TEST(SimBootloader, VersionQueryAnswersTheHardwareVersionInA64ByteReport) {
    BootBench b;
    ASSERT_TRUE(b.bench.link.sendBoot({1}));
    const auto answer = b.bench.link.receiveBoot(0);
    ASSERT_TRUE(answer.has_value());
    ASSERT_EQ(answer->size(), 64u);
    EXPECT_EQ((*answer)[0], 0x20);
    EXPECT_EQ((*answer)[1], 0x01);

    b.bench.device.setHardwareVersion(0x0130);
    b.bench.link.sendBoot({1});
    EXPECT_EQ(b.bench.link.receiveBoot(0)->at(0), 0x30);
}

TEST(SimBootloader, BlockWritesLandInTheFlashImage) {
    BootBench b;
    EXPECT_EQ(b.writeBlock(0x0000, 0x11), 1);
    EXPECT_EQ(b.writeBlock(0x0040, 0x22), 1);
    EXPECT_EQ(b.writeBlock(0xFFC0, 0x33), 1);  // the last block of 64 KiB
    const auto flash = b.bench.device.flash();
    EXPECT_TRUE(std::all_of(flash.begin(), flash.begin() + 64, [](auto x) { return x == 0x11; }));
    EXPECT_TRUE(
        std::all_of(flash.begin() + 64, flash.begin() + 128, [](auto x) { return x == 0x22; }));
    EXPECT_TRUE(
        std::all_of(flash.begin() + 128, flash.end() - 64, [](auto x) { return x == 0xFF; }));
    EXPECT_TRUE(std::all_of(flash.end() - 64, flash.end(), [](auto x) { return x == 0x33; }));
    EXPECT_EQ(b.bench.device.writtenBlocks(), (std::vector<std::uint16_t>{0, 0x40, 0xFFC0}));
    EXPECT_EQ(b.bench.device.bootReportsReceived(), 9);
}

TEST(SimBootloader, AMisalignedBlockAndUnknownRequestsAreRefused) {
    BootBench b;
    EXPECT_EQ(b.writeBlock(0x0020, 0x44), 0);
    EXPECT_TRUE(b.bench.device.writtenBlocks().empty());
    const auto flash = b.bench.device.flash();
    EXPECT_TRUE(std::all_of(flash.begin(), flash.end(), [](auto x) { return x == 0xFF; }));

    b.bench.link.sendBoot({9});
    const auto answer = b.bench.link.receiveBoot(0);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ((*answer)[0], 0);
}

TEST(SimBootloader, FaultsReachBootloaderAnswersToo) {
    BootBench b;
    b.bench.device.injectWrongCode(0, 7);
    EXPECT_EQ(b.writeBlock(0x0100, 0x55), 7);
    b.bench.device.injectNoReplyToNextCommand();
    EXPECT_EQ(b.writeBlock(0x0140, 0x55), std::nullopt);
    // The block was written all the same: only its answer was lost.
    EXPECT_EQ(b.bench.device.writtenBlocks().size(), 2u);
}

}  // namespace
}  // namespace tevusb::device::sim::test
