// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

#include "ui/base_window.h"

namespace tevusb::ui {

// The About box: the picture, and the versions of this software and of the firmware,
// bootloader and hardware it is made for. It never talks to the device.
class CAboutWindow : public CBaseWindow {
  public:
    CAboutWindow();
    ~CAboutWindow() override;

    bool handleMessage(const DialogMessage& message) override;

    // The five texts the status box shows, in order. The program has no web page of its
    // own, so the first sends the flyer to the User Guide that comes with it.
    static std::vector<QString> aboutTexts();
};

}  // namespace tevusb::ui
