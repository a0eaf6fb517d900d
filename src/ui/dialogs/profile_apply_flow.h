// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "analysis/profile_differences.h"
#include "analysis/units.h"
#include "device/profile_apply.h"
#include "settings/rocket_profile.h"

class QWidget;

namespace tevusb::ui {

class WorkerThread;

// What a window shows while a profile is applied; each runs on the window thread.
struct ApplyView {
    std::function<void(const std::vector<analysis::SettingDifference>&)> differences;
    std::function<void(const std::string&)> status;  // one status entry
    std::function<void(const device::Operation<device::ProfileApplied>&)> done;
};

// Applies `profile` to the altimeter on `worker`: the differences go to the window first,
// then the flyer is asked (No by default) and the erase guard is passed, both from the
// worker; nothing is written without both. False when the worker is busy.
bool startProfileApply(QWidget* owner, WorkerThread& worker, const std::atomic<bool>& cancel,
                       const settings::RocketProfile& profile, analysis::UnitSystem units,
                       ApplyView view);

}  // namespace tevusb::ui
