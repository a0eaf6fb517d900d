// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "device/connect_operations.h"

namespace tevusb::ui {

// The lines the device dialogs show after their status lines, so that a flyer whose
// altimeter does not answer knows what to try next. Each ends in "\r\n"; "" for none.

// No altimeter attached: the cable, and the command that lists what the program sees.
QString noAltimeterHint();
// An altimeter was found but could not be opened: on Linux, the udev rule that gives the
// user access ("" elsewhere, where the status lines already say what to try).
QString cannotOpenHint();
// A download found no flight in the altimeter's memory.
QString noFlightsHint();
// How the altimeter gets into its bootloader, as far as this program knows it.
QString bootloaderHint();

// What the Download Data dialog adds after an application-mode connect check.
QString connectHint(const device::Operation<device::ConnectInfo>& found);

}  // namespace tevusb::ui
