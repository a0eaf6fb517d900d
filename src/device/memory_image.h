// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "data/memory_packet.h"
#include "settings/device_settings.h"

namespace tevusb::device {

class AltimeterDevice;

// What the altimeter holds now, read aside from the program's store.
struct MemoryImage {
    std::vector<data::MemoryPacket> packets;
    settings::DeviceSettings settings;  // as read: image and parsed fields when valid
    bool settingsValid = false;         // the image's checksum held
    std::string firmwareVersion;        // "1.50"
};

// Reads the device's settings and whole flight memory into `image`. The program's store
// (the flights shown, the settings being edited, the live set) is left exactly as it was,
// so this can run before a write or a clear without disturbing what the flyer sees.
// Returns the device layer's result code (result::kSuccess when the memory was read whole).
int readMemoryImage(AltimeterDevice& device, MemoryImage& image);

}  // namespace tevusb::device
