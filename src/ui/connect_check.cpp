// SPDX-License-Identifier: MIT
#include "ui/connect_check.h"

#include "device/altimeter_device.h"
#include "device/device_tasks.h"
#include "ui/base_window.h"

namespace tevusb::ui {

namespace {

// The shared checks say what they found in status entries; the dialog shows each one.
void show(CBaseWindow& dialog, const device::StatusEntries& entries) {
    for (const std::string& entry : entries) {
        dialog.appendStatus(QString::fromStdString(entry));
    }
}

}  // namespace

QString versionString(std::uint16_t version) {
    return QString::fromStdString(device::versionString(version));
}

void connectCheckApplication(CBaseWindow& dialog, device::AltimeterDevice& device) {
    show(dialog, device::connectCheckApplication(device));
}

void connectCheckBootloader(CBaseWindow& dialog, device::AltimeterDevice& device) {
    show(dialog, device::connectCheckBootloader(device));
}

}  // namespace tevusb::ui
