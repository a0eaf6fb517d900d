// SPDX-License-Identifier: MIT
#pragma once

#include <initializer_list>
#include <vector>

#include "data/memory_packet.h"

namespace tevusb::testing {

// A packet of the given type holding the given reading words; the rest are empty slots.
inline data::MemoryPacket makePacket(std::uint8_t type,
                                     std::initializer_list<std::uint16_t> words = {}) {
    data::MemoryPacket p;
    p.bytes.fill(0xFF);
    p.bytes[0] = type;
    p.bytes[1] = 0;
    int j = 1;
    for (auto w : words) {
        p.setWord(j++, w);
    }
    return p;
}

// A packet of the given type whose 31 readings are all `word`.
inline data::MemoryPacket fullPacket(std::uint8_t type, std::uint16_t word) {
    data::MemoryPacket p = makePacket(type);
    for (int j = 1; j <= data::MemoryPacket::kWordCount; ++j) {
        p.setWord(j, word);
    }
    return p;
}

}  // namespace tevusb::testing
