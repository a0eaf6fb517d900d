// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "library/flight_library.h"
#include "library/kept_flights.h"
#include "library_fixture.h"
#include "support/log_capture.h"

using namespace tevusb;
using library::findUnkeptFlights;
using library::FlightLibrary;
using tevusb::testing::simulatedDownload;
using tevusb::testing::TempDir;

namespace {

// The packets of `download` with one reading of set `set` (1-based) changed: a flight the
// library has never seen.
std::vector<data::MemoryPacket> withChangedSet(library::DownloadInput download, int set) {
    int seen = 0;
    for (auto& p : download.packets) {
        if (p.beginsSet() && ++seen == set) {
            p.setWord(30, static_cast<std::uint16_t>(p.reading(29) ^ 0x5A5));
        }
    }
    return download.packets;
}

}  // namespace

TEST(KeptFlights, AFlightIsKnownByItsPacketsWhateverSettingsWereWrittenSince) {
    tevusb::testing::LogCapture quiet;
    TempDir dir;
    FlightLibrary flights(dir.path());
    ASSERT_TRUE(flights.open().ok());
    const auto download = simulatedDownload(3);
    for (const auto& item : flights.archiveDownload(download)) {
        ASSERT_TRUE(item.outcome.ok());
    }

    auto kept = findUnkeptFlights(&flights, download.packets);
    EXPECT_EQ(kept.setCount, 3);
    EXPECT_FALSE(kept.any());
    EXPECT_TRUE(kept.library.ok());

    // Set 2 was flown again after the download: only it would be lost.
    kept = findUnkeptFlights(&flights, withChangedSet(download, 2));
    EXPECT_EQ(kept.setNumbers, (std::vector<int>{2}));

    kept = findUnkeptFlights(&flights, simulatedDownload(3, 7).packets);
    EXPECT_EQ(kept.setNumbers, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(findUnkeptFlights(&flights, {}).setCount, 0);
}

TEST(KeptFlights, WithoutALibraryEveryFlightCountsAsNotKeptAndSaysWhy) {
    tevusb::testing::LogCapture quiet;
    const auto packets = simulatedDownload(2).packets;
    auto kept = findUnkeptFlights(nullptr, packets);
    EXPECT_EQ(kept.setNumbers, (std::vector<int>{1, 2}));
    EXPECT_FALSE(kept.library.ok());
    EXPECT_FALSE(kept.library.message.empty());

    const library::Outcome damaged{library::LibraryStatus::IndexDamaged, "index damaged", 0};
    kept = findUnkeptFlights(nullptr, packets, damaged);
    EXPECT_EQ(kept.library.message, "index damaged");

    // A library object that never opened cannot vouch for anything either.
    TempDir dir;
    FlightLibrary closed(dir.path());
    kept = findUnkeptFlights(&closed, packets);
    EXPECT_EQ(kept.setNumbers.size(), 2U);
    EXPECT_EQ(kept.library.status, library::LibraryStatus::NotOpen);
}

TEST(KeptFlights, SetListsReadAsAFlyerWouldSayThem) {
    EXPECT_EQ(library::setListText({2}), "set 2");
    EXPECT_EQ(library::setListText({1, 3}), "sets 1 and 3");
    EXPECT_EQ(library::setListText({1, 2, 4}), "sets 1, 2 and 4");
}
