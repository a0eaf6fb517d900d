// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>

#include "device/firmware_update.h"
#include "device/operation.h"

namespace tevusb::device {

class AltimeterDevice;

// How a launch emulation ended beyond its result: stopped by a cancel (which still resets
// the device and counts as done).
struct EmulationOutcome {
    bool cancelled = false;
};

// Replays the store's current set into the device's flight logic. Progress: an Event per
// reply but a sample request, and per second of flight (every 10th request), with the
// reply code in `flag`, the samples sent in `done` of `total`, and the event's text in
// `entry` ("" for none). Success or ProtocolError.
Operation<EmulationOutcome> emulateLaunch(AltimeterDevice& device,
                                          const ProgressCallback& progress = {},
                                          CancelFlag cancel = nullptr);

// Writes the firmware file at `path` through the bootloader; the value gives the versions
// it got to see. Progress: a Step per block, before it is handled. Once blocks are being
// written a half-written firmware would leave the altimeter unusable, so the cancel flag
// is not read.
Operation<FirmwareVersions> updateFirmware(AltimeterDevice& device,
                                           const std::filesystem::path& path,
                                           const ProgressCallback& progress = {},
                                           CancelFlag cancel = nullptr);

}  // namespace tevusb::device
