// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace tevusb::ui {

// The window messages a dialog's handler sees, with the numbers the dialog code was
// designed around, so handler tables read the same as the message tables they come from.
enum class Message : std::uint32_t {
    Close = 0x0010,
    KeyDown = 0x0100,
    InitDialog = 0x0110,
    Command = 0x0111,
    DeviceChange = 0x0219,
    StatusRefresh = 0x0401,  // WM_USER + 1: the status box shows the buffer anew
};

// wParam values of Message::DeviceChange.
inline constexpr std::uintptr_t kDeviceArrival = 0x8000;
inline constexpr std::uintptr_t kDeviceRemoveComplete = 0x8004;

// wParam values of Message::KeyDown (virtual-key codes).
inline constexpr std::uintptr_t kKeyReturn = 13;
inline constexpr std::uintptr_t kKeyEscape = 27;

// Command ids the dialog manager itself sends for Enter and Escape.
inline constexpr std::uintptr_t kIdOk = 1;
inline constexpr std::uintptr_t kIdCancel = 2;

// One message as routed to CDialogWindow::handleMessage. For Command, wParam is the
// control id; for KeyDown the key; for DeviceChange the event, with the interface's path.
struct DialogMessage {
    Message message;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::string devicePath;
};

}  // namespace tevusb::ui
