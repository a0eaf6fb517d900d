// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

#include "data/memory_packet.h"
#include "library/flight_library.h"
#include "settings/device_settings.h"

namespace tevusb::library {

// A flight ready to be archived: the bytes of its data-set file and its row, complete but
// for the id and the archive path.
struct PreparedFlight {
    std::string fileBytes;
    FlightRecord record;
};

// Encodes one set's packets as a data-set file of the current version and computes what
// the index keeps about it. setNumber is 1-based.
PreparedFlight prepareFlight(const data::MemoryPacket* packets, std::size_t count,
                             const settings::DeviceSettings& settings, const std::string& comment,
                             int setNumber, const std::string& downloadedAt,
                             const std::string& firmwareVersion);

}  // namespace tevusb::library
