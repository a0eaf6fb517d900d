// SPDX-License-Identifier: MIT
#include "library/kept_flights.h"

#include "data/data_set_store.h"
#include "library/flight_hash.h"

namespace tevusb::library {

UnkeptFlights findUnkeptFlights(const FlightLibrary* library,
                                const std::vector<data::MemoryPacket>& packets,
                                const Outcome& opened) {
    data::DataSetStore image;
    image.packets = packets;
    UnkeptFlights result;
    result.setCount = image.setCount();
    std::vector<std::string> hashes;
    for (int k = 0; k < result.setCount; ++k) {
        const auto first = static_cast<std::size_t>(image.setAddress(k));
        const auto count = static_cast<std::size_t>(image.packetCount(k));
        hashes.push_back(packetsHash(image.packets.data() + first, count));
    }
    std::vector<bool> held(hashes.size(), false);
    if (library == nullptr) {
        result.library =
            opened.ok() ? Outcome{LibraryStatus::NotOpen, "The program keeps no flight library.", 0}
                        : opened;
    } else {
        held = library->holdsPackets(hashes, &result.library);
    }
    for (int k = 0; k < result.setCount; ++k) {
        if (!held[static_cast<std::size_t>(k)]) {
            result.setNumbers.push_back(k + 1);
        }
    }
    return result;
}

std::string setListText(const std::vector<int>& setNumbers) {
    std::string text = setNumbers.size() == 1 ? "set " : "sets ";
    for (std::size_t i = 0; i < setNumbers.size(); ++i) {
        if (i > 0) {
            text += i + 1 == setNumbers.size() ? " and " : ", ";
        }
        text += std::to_string(setNumbers[i]);
    }
    return text;
}

}  // namespace tevusb::library
