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

    // The five texts the status box shows, in order.
    static std::vector<QString> aboutTexts();
};

// The address the About box sends users to for updates.
inline constexpr const char* kProjectAddress = "https://tevusb.example.org";

}  // namespace tevusb::ui
