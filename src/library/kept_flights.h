// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "data/memory_packet.h"
#include "library/flight_library.h"

namespace tevusb::library {

// Which flights of an altimeter's memory image an erase would lose: the sets whose packets
// the library does not hold. A set counts as kept by its packets alone, so a flight stays
// recognised after the settings on the device were rewritten.
struct UnkeptFlights {
    int setCount = 0;             // sets in the image
    std::vector<int> setNumbers;  // 1-based, in memory order
    // Why every set counts as not kept (no library, or its index could not be read);
    // ok when the library answered.
    Outcome library;
    bool any() const { return !setNumbers.empty(); }
};

// `library` may be null (no library, or one that could not be opened: pass its outcome
// as `opened`); then every set counts as not kept.
UnkeptFlights findUnkeptFlights(const FlightLibrary* library,
                                const std::vector<data::MemoryPacket>& packets,
                                const Outcome& opened = {});

// "set 2", "sets 1 and 3", "sets 1, 2 and 4".
std::string setListText(const std::vector<int>& setNumbers);

}  // namespace tevusb::library
