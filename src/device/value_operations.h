// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "device/operation.h"

namespace tevusb::device {

class AltimeterDevice;

// The pressure sensor read with the device's own calibration.
struct PressureReading {
    bool settingsRead = false;
    bool adcRead = false;
    std::uint16_t count = 0;
    double voltage = 0.0;
    double pressure = 0.0;  // kPa
    double altitude = 0.0;  // metres above sea level
};
// Reads the settings (for the calibration) and the ADC count; the entries give the count,
// voltage, pressure and altitude, or the failure. The store's settings record is left
// exactly as it was, whatever happens.
Operation<PressureReading> readPressure(AltimeterDevice& device,
                                        const ProgressCallback& progress = {},
                                        CancelFlag cancel = nullptr);

// The battery voltage, in the device's tenths of a volt and in volts.
struct BatteryReading {
    std::uint16_t tenths = 0;
    double volts = 0.0;
};
Operation<BatteryReading> readBattery(AltimeterDevice& device,
                                      const ProgressCallback& progress = {},
                                      CancelFlag cancel = nullptr);

// Fires both ejection lines for two seconds. The fronts ask first.
Operation<> fireLines(AltimeterDevice& device, const ProgressCallback& progress = {},
                      CancelFlag cancel = nullptr);

}  // namespace tevusb::device
