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

// How a device operation ended: Done when it ran to its end (a no-go verdict is a result,
// not a failure), NoDevice when no altimeter answered the connect, DeviceError when the
// device stopped answering or refused a step, Cancelled when the flyer asked to stop.
enum class DeviceOutcome { Done, NoDevice, DeviceError, Cancelled, Busy };

// (step done, steps, what comes next), for a progress bar or a status line.
using StepProgress = std::function<void(int done, int total, const std::string& what)>;

struct PreflightRequest {
    settings::RocketProfile profile;
    // Which sets of the altimeter's memory the library does not hold; called once, on the
    // worker, with the memory as read.
    std::function<KeptAnswer(const std::vector<data::MemoryPacket>&)> keptFlights;
};

struct PreflightResult {
    DeviceOutcome outcome = DeviceOutcome::NoDevice;
    StatusEntries entries;  // what happened, for the status box or standard error
    data::PreflightReport report;
    settings::DeviceSettings settings;  // as read from the altimeter
    std::vector<data::MemoryPacket> packets;
    std::string altimeter;  // the device path the check ran on
};

// The pre-flight check: connects, reads the settings and the flight memory (aside, the
// program's store untouched), the battery and the pressure, asks `keptFlights` about the
// memory and gives the verdict against the profile. Writes nothing to the altimeter.
PreflightResult runPreflight(AltimeterDevice& device, const PreflightRequest& request,
                             const StepProgress& progress = {},
                             const std::atomic<bool>* cancel = nullptr);

}  // namespace tevusb::device
