// SPDX-License-Identifier: MIT
#include "ui/dialogs/device_hints.h"

#include "device/device_messages.h"
#include "device/status_texts.h"

namespace tevusb::ui {

namespace {

QString usbId(const device::DeviceIdentity& identity) {
    return QStringLiteral("%1:%2")
        .arg(identity.vendorId, 4, 16, QLatin1Char('0'))
        .arg(identity.productId, 4, 16, QLatin1Char('0'));
}

}  // namespace

QString noAltimeterHint() {
    return QStringLiteral(
        "Hint: check that the altimeter is plugged in, through a USB cable that carries data "
        "(a charge-only cable does not); `tevusb-cli devices` lists what this program sees.\r\n");
}

QString cannotOpenHint() {
#ifdef __linux__
    // hidraw lists an altimeter whose device node the user may not open, so a missing rule
    // shows as "found, unable to connect" rather than as "not found".
    return QStringLiteral(
        "Hint: on Linux, opening the altimeter needs the udev rule 70-tevusb.rules (the package "
        "installs it in /usr/lib/udev/rules.d); with the rule in place, unplug the altimeter "
        "and plug it in again.\r\n");
#else
    return {};
#endif
}

QString noFlightsHint() {
    return QStringLiteral("The altimeter holds no flights.\r\n");
}

QString bootloaderHint() {
    // The protocol has no command that starts the bootloader: the altimeter has to be
    // started in it by hand.
    return QStringLiteral(
               "Hint: this program cannot switch the altimeter to its bootloader. Start the "
               "altimeter in bootloader mode as its maker describes and plug it in: it then shows "
               "as USB device %1, and `tevusb-cli devices` lists it as \"bootloader\".\r\n")
        .arg(usbId(device::kBootloaderIdentity));
}

QString connectHint(const device::Operation<device::ConnectInfo>& found) {
    switch (found.result) {
        case device::DeviceResult::NoDevice:
            // Not when one waits in its bootloader: the lines already say what to do.
            return !found.entries.empty() && found.entries.back() == device::kDeviceNotFound
                       ? noAltimeterHint()
                       : QString();
        case device::DeviceResult::CouldNotOpen:
            return cannotOpenHint();
        default:
            return {};
    }
}

}  // namespace tevusb::ui
