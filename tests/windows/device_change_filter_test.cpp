// SPDX-License-Identifier: MIT
// WM_DEVICECHANGE through Qt's native event filter: the messages that mean a device came
// or went trigger a look, the others do not.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, whose types it uses.
#include <dbt.h>

#include <QCoreApplication>

#include "support/wait.h"
#include "ui/device_change_filter_win.h"

namespace tevusb::ui {
namespace {

// A window that only receives messages, as the system's notifications need a window.
class MessageWindow {
  public:
    MessageWindow()
        : m_hwnd(::CreateWindowExW(0, L"STATIC", L"tevusb test", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                   nullptr, ::GetModuleHandleW(nullptr), nullptr)) {}
    ~MessageWindow() { ::DestroyWindow(m_hwnd); }
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;
    HWND hwnd() const { return m_hwnd; }
    bool post(WPARAM what) const { return ::PostMessageW(m_hwnd, WM_DEVICECHANGE, what, 0); }

  private:
    HWND m_hwnd;
};

TEST(DeviceChangeFilter, ArrivalAndRemovalOfItsWindowTriggerALookOthersDoNot) {
    MessageWindow window;
    MessageWindow other;
    ASSERT_NE(window.hwnd(), nullptr);
    int looks = 0;
    DeviceChangeFilter filter(window.hwnd(), [&] { ++looks; });
    EXPECT_TRUE(filter.registered());
    QCoreApplication::instance()->installNativeEventFilter(&filter);

    ASSERT_TRUE(window.post(DBT_DEVICEARRIVAL));
    EXPECT_TRUE(testing::waitUntil([&] { return looks == 1; }));

    // Asking whether a device may go, and any window but this one, are no changes.
    ASSERT_TRUE(window.post(DBT_DEVICEQUERYREMOVE));
    ASSERT_TRUE(other.post(DBT_DEVICEARRIVAL));
    ASSERT_TRUE(window.post(DBT_DEVICEREMOVECOMPLETE));
    EXPECT_TRUE(testing::waitUntil([&] { return looks >= 2; }));
    EXPECT_EQ(looks, 2);
    ASSERT_TRUE(window.post(DBT_DEVNODES_CHANGED));
    EXPECT_TRUE(testing::waitUntil([&] { return looks == 3; }));

    QCoreApplication::instance()->removeNativeEventFilter(&filter);
}

}  // namespace
}  // namespace tevusb::ui
