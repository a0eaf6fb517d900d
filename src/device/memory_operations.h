// SPDX-License-Identifier: MIT
#pragma once

#include "device/operation.h"

namespace tevusb::device {

class AltimeterDevice;

inline constexpr int kFlightMemoryPackets = 128;

// The download: the settings, then the flight memory into the store, with the status
// entries of each step. The settings read from the device are parsed at once when their
// checksum holds, so the flights shown, exported and saved right after a download all
// use the device's calibration; a record with a bad checksum is not taken (the previous
// one stays, and a warning entry says so) so that saved files stay loadable. Progress:
// a Word for the first and every fifth word of a packet (the live view's pace), a Step
// per packet read whole. A cancel (the flag, or the device's own request, also one that
// came during the settings read) leaves no partial image: Cancelled.
Operation<> downloadFlights(AltimeterDevice& device, const ProgressCallback& progress = {},
                            CancelFlag cancel = nullptr);

// Empties the device's flight memory and the store's packets. The erase guard comes first:
// this only asks the device. NoDevice when the link is not open.
Operation<> clearMemory(AltimeterDevice& device, const ProgressCallback& progress = {},
                        CancelFlag cancel = nullptr);

}  // namespace tevusb::device
