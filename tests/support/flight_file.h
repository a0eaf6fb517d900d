// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "data/data_set_store.h"

namespace tevusb::testing {

// Writes the reading words of one recorded flight as a one-set data-set file, packed into
// memory packets as the altimeter stores them. False when the file could not be written.
inline bool writeFlightFile(const std::filesystem::path& file,
                            const std::vector<std::uint16_t>& words) {
    data::DataSetStore store;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const auto j = static_cast<int>(i % data::MemoryPacket::kWordCount);
        if (j == 0) {
            data::MemoryPacket p;
            p.bytes.fill(data::MemoryPacket::kErased);
            p.bytes[0] = store.packets.empty() ? data::MemoryPacket::kSetStart : 0;
            store.packets.push_back(p);
        }
        store.packets.back().setWord(j + 1, words[i]);
    }
    store.comments = {""};
    return store.saveSetFile(file, 0);
}

}  // namespace tevusb::testing
