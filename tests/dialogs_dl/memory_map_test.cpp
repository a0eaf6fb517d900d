// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "ui/dialogs/capture_window.h"
#include "ui/dialogs/memory_map.h"

namespace tevusb::ui {
namespace {

// Two stray packets before the first set, then sets of 3, 2 and 1 packets.
const std::vector<std::uint8_t> kTypes = {0, 0, 2, 0, 0, 2, 0, 2};

std::vector<QRgb> columns(const QImage& image, int count) {
    std::vector<QRgb> out;
    for (int x = 0; x < count; ++x) {
        EXPECT_EQ(image.pixel(x, 0), image.pixel(x, 1)) << "column " << x;
        out.push_back(image.pixel(x, 0));
    }
    return out;
}

TEST(MemoryMapTest, SetsAlternateAndTheSelectedOneIsRed) {
    const QImage image = memoryMapImage(kTypes, 1);
    ASSERT_EQ(image.size(), QSize(128, 2));
    const std::vector<QRgb> expected = {kMapEvenSet, kMapEvenSet,  kMapOddSet,   kMapOddSet,
                                        kMapOddSet,  kMapSelected, kMapSelected, kMapOddSet};
    EXPECT_EQ(columns(image, 8), expected);
    // Everything past the image stays black, alpha included.
    EXPECT_EQ(image.pixel(8, 0), 0xFF000000u);
    EXPECT_EQ(image.pixel(127, 1), 0xFF000000u);
}

TEST(MemoryMapTest, NoSelectionMarksThePacketsBeforeTheFirstSet) {
    const QImage none = memoryMapImage(kTypes, -1);
    EXPECT_EQ(columns(none, 3), (std::vector<QRgb>{kMapSelected, kMapSelected, kMapOddSet}));
    // A selection beyond the sets, or absurd values, marks nothing and does not overflow.
    for (int selected : {3, 99, INT_MAX, INT_MIN}) {
        const QImage image = memoryMapImage(kTypes, selected);
        for (QRgb c : columns(image, 8)) {
            EXPECT_NE(c, kMapSelected) << selected;
        }
    }
}

TEST(MemoryMapTest, PacketsBeyondTheStripAreNotShown) {
    std::vector<std::uint8_t> types(200, 0);
    types[0] = 2;
    types[150] = 2;
    const QImage image = memoryMapImage(types, 1);
    EXPECT_EQ(image.size(), QSize(128, 2));
    EXPECT_EQ(image.pixel(127, 0), kMapOddSet);
}

TEST(MemoryMapTest, ClickPicksTheNearestColumn) {
    // 126 pixels wide: the strip is stretched over 128, one pixel per column.
    EXPECT_EQ(memoryMapColumn(0, 126), 0);
    EXPECT_EQ(memoryMapColumn(10, 126), 10);
    // 254 pixels: two per column, and the half rounds up.
    EXPECT_EQ(memoryMapColumn(3, 254), 2);
    EXPECT_EQ(memoryMapColumn(2, 254), 1);
    EXPECT_EQ(memoryMapColumn(253, 254), 127);
    // A control too narrow to hold anything picks nothing rather than dividing by zero.
    EXPECT_EQ(memoryMapColumn(5, -2), -1);
}

TEST(CsvNameTest, TheFileNamesExtensionBecomesCsvAndNothingElseChanges) {
    EXPECT_EQ(CCaptureWindow::csvNameFor("/tmp/flight.tev"), "/tmp/flight.csv");
    EXPECT_EQ(CCaptureWindow::csvNameFor("/tmp/a.tev.tev"), "/tmp/a.tev.csv");
    // A dot in a folder's name leaves the CSV in the set file's folder.
    EXPECT_EQ(CCaptureWindow::csvNameFor("/tmp/x.tevfile/f.tev"), "/tmp/x.tevfile/f.csv");
    EXPECT_EQ(CCaptureWindow::csvNameFor("/tmp/x.tevfile/f"), "/tmp/x.tevfile/f.csv");
    EXPECT_EQ(CCaptureWindow::csvNameFor("/tmp/FLIGHT.TEV"), "/tmp/FLIGHT.csv");
    EXPECT_EQ(CCaptureWindow::csvNameFor("/tmp/flight.dat"), "/tmp/flight.csv");
    EXPECT_EQ(CCaptureWindow::csvNameFor("flight"), "flight.csv");
    EXPECT_EQ(CCaptureWindow::csvNameFor("/tmp/.hidden"), "/tmp/.hidden.csv");
    // A set file named .csv is never replaced by its own CSV.
    EXPECT_EQ(CCaptureWindow::csvNameFor("/tmp/f.CSV"), "/tmp/f.CSV.csv");
}

TEST(CsvNameTest, ANameWithoutExtensionGetsTev) {
    EXPECT_EQ(CCaptureWindow::withSetSuffix("/tmp/flight"), "/tmp/flight.tev");
    EXPECT_EQ(CCaptureWindow::withSetSuffix("/tmp/a.b/flight"), "/tmp/a.b/flight.tev");
    EXPECT_EQ(CCaptureWindow::withSetSuffix("/tmp/flight.dat"), "/tmp/flight.dat");
    EXPECT_EQ(CCaptureWindow::withSetSuffix("/tmp/.tev"), "/tmp/.tev.tev");
}

}  // namespace
}  // namespace tevusb::ui
