// SPDX-License-Identifier: MIT
#include "ui/connect_check.h"

#include "device/altimeter_device.h"
#include "device/device_tasks.h"
#include "ui/base_window.h"

namespace tevusb::ui {

namespace {

// The connect operations say what they found in status entries; the dialog shows each one.
device::ProgressCallback show(CBaseWindow& dialog) {
    return [&dialog](const device::Progress& p) {
        if (p.kind == device::Progress::Kind::Entry) {
            dialog.appendStatus(QString::fromStdString(p.entry));
        }
    };
}

}  // namespace

QString versionString(std::uint16_t version) {
    return QString::fromStdString(device::versionString(version));
}

device::Operation<device::ConnectInfo> connectCheckApplication(CBaseWindow& dialog,
                                                               device::AltimeterDevice& device) {
    return device::connectApplication(device, show(dialog));
}

device::Operation<device::ConnectInfo> connectCheckBootloader(CBaseWindow& dialog,
                                                              device::AltimeterDevice& device) {
    return device::connectBootloader(device, show(dialog));
}

}  // namespace tevusb::ui
