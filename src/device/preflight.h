// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "data/memory_packet.h"
#include "data/preflight_report.h"
#include "device/altimeter_device.h"
#include "device/device_tasks.h"
#include "device/preflight_verdict.h"
#include "settings/rocket_profile.h"

namespace tevusb::device {

struct PreflightRequest {
    settings::RocketProfile profile;
    // Which sets of the altimeter's memory the library does not hold; called once, on the
    // worker, with the memory as read.
    std::function<KeptAnswer(const std::vector<data::MemoryPacket>&)> keptFlights;
};

// What the check found. A no-go verdict is a result, not a failure: the operation succeeds
// whenever it ran to its end, and fails with NoDevice, ProtocolError (the device stopped
// answering) or Cancelled otherwise.
struct PreflightCheck {
    data::PreflightReport report;
    settings::DeviceSettings settings;  // as read from the altimeter
    std::vector<data::MemoryPacket> packets;
    std::string altimeter;  // the device path the check ran on
};

// The pre-flight check: connects, reads the settings and the flight memory (aside, the
// program's store untouched), the battery and the pressure, asks `keptFlights` about the
// memory and gives the verdict against the profile. Writes nothing to the altimeter.
// Each step is reported as a Progress step whose entry says what comes next.
Operation<PreflightCheck> runPreflight(AltimeterDevice& device, const PreflightRequest& request,
                                       const ProgressCallback& progress = {},
                                       CancelFlag cancel = nullptr);

}  // namespace tevusb::device
