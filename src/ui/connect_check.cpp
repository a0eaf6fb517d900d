#include "ui/connect_check.h"

#include "device/altimeter_device.h"
#include "ui/base_window.h"

namespace tevusb::ui {

namespace {

constexpr std::uint16_t kRequiredFirmware = 0x0150;

}  // namespace

QString versionString(std::uint16_t version) {
    const std::wstring text = device::versionText(version);
    return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size()));
}

void connectCheckApplication(CBaseWindow& dialog, device::AltimeterDevice& device) {
    std::uint16_t version = 0;
    const int code = device.connect(device::ConnectMode::Application, &version);
    if (code == -2) {
        dialog.appendStatus(
            QStringLiteral("Device found. Unable to connect to device.\r\n"
                           "Please ensure it is not being used by another application.\r\n"
                           "Removing the device and re-attaching it should correct this.\r\n"));
    } else if (code == -1) {
        device.connect(device::ConnectMode::Bootloader);
        if (device.link.isOpen() && device.isBootloader()) {
            device.disconnect();
            dialog.appendStatus(QStringLiteral("Device found, but is in bootloader mode.\r\n"));
            dialog.appendStatus(QStringLiteral("Please reconnect the device.\r\n"));
        } else {
            dialog.appendStatus(QStringLiteral("Device not found.\r\n"));
        }
    } else if (code == -3) {
        dialog.appendStatus(
            QStringLiteral("Device found, but has incompatible firmware version.\r\n"));
        dialog.appendStatus(
            QStringLiteral("Current device firmware version: %1\r\n").arg(versionString(version)));
        dialog.appendStatus(QStringLiteral("Required device firmware version: %1\r\n")
                                .arg(versionString(kRequiredFirmware)));
    } else if (code >= 0) {
        dialog.appendStatus(QStringLiteral("Device Connected.\r\n"));
        dialog.appendStatus(
            QStringLiteral("Current device firmware version: %1\r\n").arg(versionString(version)));
    }
}

}  // namespace tevusb::ui
