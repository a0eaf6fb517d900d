// SPDX-License-Identifier: MIT
#include "device/profile_apply.h"

#include <optional>

#include "device/device_lock.h"

namespace tevusb::device {

namespace {

constexpr int kSteps = 4;

Operation<ProfileApplied> ended(Operation<ProfileApplied> applied, DeviceResult result,
                                std::string entry) {
    applied.result = result;
    applied.entries.push_back(std::move(entry));
    return applied;
}

}  // namespace

bool readSettingsAside(AltimeterDevice& device, settings::DeviceSettings& out, bool& valid) {
    const settings::DeviceSettings kept = device.store.settings;
    const bool read = device.readSettings() == result::kSuccess;
    if (read) {
        out = device.store.settings;
        valid = out.parse();
    }
    device.store.settings = kept;
    return read;
}

Operation<ProfileApplied> applyProfile(AltimeterDevice& device,
                                       const settings::RocketProfile& profile,
                                       const ApplyHooks& hooks, const ProgressCallback& progress,
                                       CancelFlag cancel) {
    const auto step = [&](int done, const char* what) {
        if (progress) {
            progress({Progress::Kind::Step, what, done, done, kSteps, done * 100 / kSteps});
        }
    };
    Operation<ProfileApplied> result;
    if (const std::string problem = settings::profileProblem(profile); !problem.empty()) {
        return ended(std::move(result), DeviceResult::ProtocolError, problem + "\r\n");
    }
    step(0, "Connecting");
    const int connected = device.connect(ConnectMode::Application);
    if (connected != result::kConnected) {
        Operation<ConnectInfo> said = connectApplication(device);
        result.result = said.ok() ? DeviceResult::NoDevice : said.result;
        result.entries = std::move(said.entries);
        return result;
    }
    std::string why;
    const std::optional<DeviceLock> lock =
        DeviceLock::acquire(device.link.device().path, hooks.lockWaitMs, why);
    if (!lock) {
        return ended(std::move(result), DeviceResult::Busy, why + "\r\n");
    }

    step(1, "Reading the settings");
    bool valid = false;
    if (!readSettingsAside(device, result.value.before, valid)) {
        return ended(std::move(result), DeviceResult::ProtocolError,
                     "Failed to read settings. Nothing was written.\r\n");
    }
    if (!valid) {
        // Without a sound image the device's own calibration and parameters are unknown,
        // and writing defaults in their place would lose them.
        return ended(std::move(result), DeviceResult::ProtocolError,
                     "Checksum failed. The device settings are invalid. The profile was not "
                     "written, so that the altimeter's calibration is not replaced by a "
                     "guess; use Device Settings to write its settings afresh.\r\n");
    }
    const settings::DeviceSettings intended = settingsWithProfile(result.value.before, profile);
    result.value.differences =
        analysis::profileDifferences(result.value.before, profile, hooks.units);
    if (!analysis::anyChanged(result.value.differences)) {
        result.value.unchanged = true;
        result.value.verified = true;
        result.value.after = result.value.before;
        return ended(std::move(result), DeviceResult::Success,
                     "The altimeter already holds the profile \"" + profile.name +
                         "\": nothing was written.\r\n");
    }
    if (hooks.confirm && !hooks.confirm(result.value.differences)) {
        return ended(std::move(result), DeviceResult::Cancelled, "Nothing was written.\r\n");
    }
    if ((cancel != nullptr && cancel->load()) || (hooks.eraseAllowed && !hooks.eraseAllowed())) {
        return ended(std::move(result), DeviceResult::Cancelled, "Nothing was written.\r\n");
    }

    step(2, "Writing the settings");
    const settings::DeviceSettings kept = device.store.settings;
    device.store.settings = intended;
    const Operation<WriteStep> wrote = writeSettings(device);
    result.entries.insert(result.entries.end(), wrote.entries.begin(), wrote.entries.end());
    const WriteStep at = wrote.value;
    device.store.settings = kept;
    result.value.written = wrote.ok();

    step(3, "Reading back");
    bool backValid = false;
    const bool readBack = readSettingsAside(device, result.value.after, backValid);
    if (!result.value.written) {
        std::string entry = at == WriteStep::ClearFailed
                                ? "The profile was not written; the altimeter holds its old "
                                  "settings.\r\n"
                                : "The write did not complete: the altimeter may still hold "
                                  "its old settings.\r\n";
        if (readBack && backValid) {
            const auto now = analysis::profileDifferences(result.value.after, profile);
            entry += "It now holds Line A " + now[0].device + ", Line B " + now[1].device +
                     ", inhibit " + now[2].device + ".\r\n";
        } else if (readBack) {
            entry +=
                "Its settings now fail their checksum: apply the profile again before "
                "flight.\r\n";
        } else {
            entry += "Its settings could not be read back; reconnect it and check again.\r\n";
        }
        return ended(std::move(result), DeviceResult::ProtocolError, entry);
    }
    if (!readBack) {
        return ended(std::move(result), DeviceResult::ProtocolError,
                     "The settings were written but could not be read back; reconnect the "
                     "altimeter and run the pre-flight check.\r\n");
    }
    result.value.verified = result.value.after.image == intended.image;
    if (!result.value.verified) {
        return ended(std::move(result), DeviceResult::ProtocolError,
                     "The settings read back differ from those written; apply the profile "
                     "again before flight.\r\n");
    }
    step(kSteps, "Done");
    return ended(std::move(result), DeviceResult::Success,
                 "Read back: the altimeter holds the profile \"" + profile.name + "\".\r\n");
}

}  // namespace tevusb::device
