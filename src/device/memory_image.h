// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "data/memory_packet.h"
#include "device/operation.h"
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

// Reads the device's settings and whole flight memory (the erase guard's look before a
// write or a clear). The program's store (the flights shown, the settings being edited,
// the live set) is left exactly as it was. No entries: each guard words its own refusal.
Operation<MemoryImage> readMemoryImage(AltimeterDevice& device,
                                       const ProgressCallback& progress = {},
                                       CancelFlag cancel = nullptr);

}  // namespace tevusb::device
