// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include "device/operation.h"
#include "settings/device_settings.h"

namespace tevusb::device {

class AltimeterDevice;

// What a settings read does with a record whose checksum fails.
enum class BadChecksum {
    Refuse,       // keeps the previous record; the read fails with ProtocolError
    UseDefaults,  // shows the program's defaults instead (the settings dialog); fails too
};

// The record read, parsed when its checksum held.
struct SettingsRead {
    settings::DeviceSettings settings;
    bool imageRead = false;  // the whole image and its closing reply arrived
    bool checksumValid = false;
};

// Reads the device's settings into the store's record, saying each step. A read that
// breaks off leaves the record as it was. NoDevice when the link is not open.
Operation<SettingsRead> readSettings(AltimeterDevice& device, BadChecksum badChecksum,
                                     const ProgressCallback& progress = {},
                                     CancelFlag cancel = nullptr);

// The step a settings write stopped at: callers that show controls recover differently
// from a missing device than from a device that refused the clear.
enum class WriteStep { Done, NotConnected, ClearFailed, WriteFailed };

// Builds the store's record into its image and writes it: the device's flight memory is
// cleared first (the altimeter requires it). The value says where it ended.
Operation<WriteStep> writeSettings(AltimeterDevice& device, const ProgressCallback& progress = {},
                                   CancelFlag cancel = nullptr);

// Calibration against a known ground altitude: clears the flight memory, reads the
// settings and the current ADC count, and writes the record with the offset that makes
// the current count read as `groundAltitude`. `beforeWrite` runs just before the write,
// with the new offset in the store's record, and may add to it or stop (false).
struct Calibration {
    bool completed = false;
    int adcReal = 0;
    int adcDevice = 0;
};
Operation<Calibration> calibrate(AltimeterDevice& device, double groundAltitude,
                                 const std::function<bool()>& beforeWrite,
                                 const ProgressCallback& progress = {},
                                 CancelFlag cancel = nullptr);

}  // namespace tevusb::device
