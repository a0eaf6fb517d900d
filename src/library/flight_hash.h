// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

#include "data/memory_packet.h"
#include "settings/device_settings.h"

namespace tevusb::library {

// SHA-256, lowercase hex, of a set's packets followed by its settings image: what makes two
// copies the same flight, whatever their comment or file version.
std::string flightHash(const data::MemoryPacket* packets, std::size_t count,
                       const settings::SettingsImage& image);

// SHA-256, lowercase hex, of a set's packets alone: the same flight still on the altimeter
// after its settings were rewritten.
std::string packetsHash(const data::MemoryPacket* packets, std::size_t count);

}  // namespace tevusb::library
