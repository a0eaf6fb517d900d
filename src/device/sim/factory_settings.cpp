// SPDX-License-Identifier: MIT
#include "device/sim/factory_settings.h"

namespace tevusb::device::sim {

settings::SettingsImage factorySettingsImage() {
    settings::SettingsImage image{0xE0, 0x03,  // 992 readings per flight
                                  0xFF,        // auxiliary flag set
                                  0x3C, 0x00,  // auxiliary word 60
                                  0x14, 0x00,  // inhibit 2.0 s
                                  0x50,        // auxiliary byte 80
                                  0x00, 0x00,  // no calibration offset
                                  0x32,        // Line B by altitude, Line A at apogee
                                  0x96, 0x00,  // Line A value 150
                                  0x96, 0x00,  // Line B 150 m
                                  0x00, 0x00};
    const std::uint16_t sum = settings::computeChecksum(image);
    image[15] = static_cast<std::uint8_t>(sum & 0xFF);
    image[16] = static_cast<std::uint8_t>(sum >> 8);
    return image;
}

}  // namespace tevusb::device::sim
