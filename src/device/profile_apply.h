// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include "analysis/profile_differences.h"
#include "device/preflight.h"
#include "settings/rocket_profile.h"

namespace tevusb::device {

// The questions an apply asks its front, on the worker that runs it.
struct ApplyHooks {
    // Shown the differences line by line; true to write. Not asked when nothing differs.
    std::function<bool(const std::vector<analysis::SettingDifference>&)> confirm;
    // The erase guard: true when the flight memory may be cleared (every flight kept, or
    // the flyer said so). Asked after the confirmation, before anything is written.
    std::function<bool()> eraseAllowed;
    // How long to wait for another program that is writing to the same altimeter.
    int lockWaitMs = 2000;
    // The units the differences are written in.
    analysis::UnitSystem units = analysis::UnitSystem::Metric;
};

// What an apply did. It succeeds when the altimeter holds the profile at its end (also
// when it held it already and nothing was written); it fails with NoDevice, Busy (another
// program is writing to it), Cancelled (a question or the guard said no, nothing written)
// or ProtocolError (a refused step, a failed write or read-back: the entries say which).
struct ProfileApplied {
    std::vector<analysis::SettingDifference> differences;
    bool unchanged = false;           // the altimeter already held the profile: nothing written
    bool written = false;             // the write went through
    bool verified = false;            // read back, and equal to the intended image byte for byte
    settings::DeviceSettings before;  // as read before the write
    settings::DeviceSettings after;   // as read back (when it could be)
};

// Writes a rocket profile to the altimeter: connects, takes the device's lock, reads its
// settings, shows the differences, asks, passes the erase guard, writes the line modes,
// used values and inhibit time through the same routine as the Device Settings dialog
// (which clears the flight memory), and reads back to confirm. The calibration offset and
// the device parameters are written exactly as read. The program's store keeps its
// settings. A declined question or guard is Cancelled with nothing written.
Operation<ProfileApplied> applyProfile(AltimeterDevice& device,
                                       const settings::RocketProfile& profile,
                                       const ApplyHooks& hooks,
                                       const ProgressCallback& progress = {},
                                       CancelFlag cancel = nullptr);

// Reads the altimeter's settings aside (the store's record restored); false when the read
// failed. `valid` says whether the image's checksum held.
bool readSettingsAside(AltimeterDevice& device, settings::DeviceSettings& out, bool& valid);

}  // namespace tevusb::device
