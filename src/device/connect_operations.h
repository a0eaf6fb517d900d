// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "device/operation.h"

namespace tevusb::device {

class AltimeterDevice;

// The firmware version of the device a connect found (0 when none was found).
struct ConnectInfo {
    std::uint16_t version = 0;
};

// Connects in application mode and says what was found: Connected; NoDevice (also when
// one waits in bootloader mode, which the entries say); CouldNotOpen; WrongVersion. The
// link is open afterwards only when Connected. Connecting is immediate: no cancel point.
Operation<ConnectInfo> connectApplication(AltimeterDevice& device,
                                          const ProgressCallback& progress = {},
                                          CancelFlag cancel = nullptr);
// The bootloader-mode counterpart used before a firmware update; NoDevice also when one
// runs its application firmware (the entries say so).
Operation<ConnectInfo> connectBootloader(AltimeterDevice& device,
                                         const ProgressCallback& progress = {},
                                         CancelFlag cancel = nullptr);

// Sends the reset command: Success or SendFailed.
Operation<> resetDevice(AltimeterDevice& device, const ProgressCallback& progress = {},
                        CancelFlag cancel = nullptr);

}  // namespace tevusb::device
