// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractNativeEventFilter>
#include <functional>

namespace tevusb::ui {

// Windows only: asks the system for the HID arrival and removal messages of one window
// (RegisterDeviceNotificationW) and, from Qt's native event filter, calls `onChange` for
// each WM_DEVICECHANGE that window gets about a device coming or going. The call is only
// a trigger: the device watcher's comparison says what changed.
class DeviceChangeFilter : public QAbstractNativeEventFilter {
  public:
    // `window` is the HWND; with none, or when registering fails, only the messages every
    // top-level window gets anyway (a device node changed) arrive.
    DeviceChangeFilter(void* window, std::function<void()> onChange);
    ~DeviceChangeFilter() override;

    DeviceChangeFilter(const DeviceChangeFilter&) = delete;
    DeviceChangeFilter& operator=(const DeviceChangeFilter&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    bool registered() const { return m_registration != nullptr; }

  private:
    void* m_window;
    void* m_registration = nullptr;
    std::function<void()> m_onChange;
};

}  // namespace tevusb::ui
