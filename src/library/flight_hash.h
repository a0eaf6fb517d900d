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

}  // namespace tevusb::library
