// SPDX-License-Identifier: MIT
#include "ui/device_change_filter_win.h"

#include <QByteArray>

#include <windows.h>
// After windows.h, whose types it uses.
#include <dbt.h>

namespace tevusb::ui {

namespace {

// The HID device interface class (GUID_DEVINTERFACE_HID), spelled out rather than taken
// from a library that may not export it.
constexpr GUID kHidInterface{
    0x4d1e55b2, 0xf16f, 0x11cf, {0x88, 0xcb, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

bool isDeviceChange(WPARAM what) {
    return what == DBT_DEVICEARRIVAL || what == DBT_DEVICEREMOVECOMPLETE ||
           what == DBT_DEVNODES_CHANGED;
}

}  // namespace

DeviceChangeFilter::DeviceChangeFilter(void* window, std::function<void()> onChange)
    : m_window(window), m_onChange(std::move(onChange)) {
    if (m_window == nullptr) {
        return;
    }
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kHidInterface;
    m_registration = ::RegisterDeviceNotificationW(static_cast<HWND>(m_window), &filter,
                                                   DEVICE_NOTIFY_WINDOW_HANDLE);
}

DeviceChangeFilter::~DeviceChangeFilter() {
    if (m_registration != nullptr) {
        ::UnregisterDeviceNotification(static_cast<HDEVNOTIFY>(m_registration));
    }
}

bool DeviceChangeFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "windows_generic_MSG" && eventType != "windows_dispatcher_MSG") {
        return false;
    }
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg == nullptr || msg->message != WM_DEVICECHANGE || !isDeviceChange(msg->wParam)) {
        return false;
    }
    if (m_window != nullptr && msg->hwnd != static_cast<HWND>(m_window)) {
        return false;
    }
    if (m_onChange) {
        m_onChange();
    }
    // Other filters and the window may want the message too.
    return false;
}

}  // namespace tevusb::ui
