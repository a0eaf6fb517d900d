// SPDX-License-Identifier: MIT
#include "device/settings_snapshot.h"

namespace tevusb::device {

std::optional<settings::DeviceSettings> readSettingsSnapshot(AltimeterDevice& device) {
    const settings::DeviceSettings kept = device.store.settings;
    std::optional<settings::DeviceSettings> read;
    if (device.readSettings() == result::kSuccess) {
        settings::DeviceSettings s = device.store.settings;
        if (s.parse()) {
            read = s;
        }
    }
    device.store.settings = kept;
    return read;
}

}  // namespace tevusb::device
