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

MSG deviceChange(HWND window, WPARAM what) {
    MSG msg{};
    msg.hwnd = window;
    msg.message = WM_DEVICECHANGE;
    msg.wParam = what;
    return msg;
}

// The system sends arrival and removal (their lParam points at a DEV_BROADCAST_HDR, so
// they cannot be posted) straight to the window, and Qt hands them to the filter as
// "windows_generic_MSG"; these are such messages, made here.
TEST(DeviceChangeFilter, ArrivalRemovalAndNodeChangesOfItsWindowTriggerALookOthersDoNot) {
    MessageWindow window;
    MessageWindow other;
    ASSERT_NE(window.hwnd(), nullptr);
    int looks = 0;
    DeviceChangeFilter filter(window.hwnd(), [&] { ++looks; });
    EXPECT_TRUE(filter.registered());

    struct Case {
        HWND hwnd;
        WPARAM what;
        bool look;
    };
    const Case cases[] = {
        {window.hwnd(), DBT_DEVICEARRIVAL, true},
        {window.hwnd(), DBT_DEVICEREMOVECOMPLETE, true},
        {window.hwnd(), DBT_DEVNODES_CHANGED, true},
        // Asking whether a device may go is no change; nor is another window's message.
        {window.hwnd(), DBT_DEVICEQUERYREMOVE, false},
        {window.hwnd(), DBT_DEVICEREMOVEPENDING, false},
        {other.hwnd(), DBT_DEVICEARRIVAL, false},
    };
    for (const auto& c : cases) {
        for (const char* type : {"windows_generic_MSG", "windows_dispatcher_MSG"}) {
            MSG msg = deviceChange(c.hwnd, c.what);
            const int before = looks;
            qintptr result = 0;
            // The message always goes on to the window and other filters.
            EXPECT_FALSE(filter.nativeEventFilter(type, &msg, &result));
            EXPECT_EQ(looks - before, c.look ? 1 : 0) << type << " wParam " << c.what;
        }
    }

    // Other messages, other event types and no message at all are passed by.
    MSG paint = deviceChange(window.hwnd(), DBT_DEVICEARRIVAL);
    paint.message = WM_PAINT;
    MSG arrival = deviceChange(window.hwnd(), DBT_DEVICEARRIVAL);
    const int before = looks;
    EXPECT_FALSE(filter.nativeEventFilter("windows_generic_MSG", &paint, nullptr));
    EXPECT_FALSE(filter.nativeEventFilter("xcb_generic_event_t", &arrival, nullptr));
    EXPECT_FALSE(filter.nativeEventFilter("windows_generic_MSG", nullptr, nullptr));
    EXPECT_EQ(looks, before);
}

// Without a window nothing is registered, and the node changes every top-level window
// gets still trigger a look, whichever window they come to.
TEST(DeviceChangeFilter, WithoutAWindowOnlyNodeChangesArriveAndAnyWindowCounts) {
    MessageWindow some;
    int looks = 0;
    DeviceChangeFilter filter(nullptr, [&] { ++looks; });
    EXPECT_FALSE(filter.registered());
    MSG changed = deviceChange(some.hwnd(), DBT_DEVNODES_CHANGED);
    EXPECT_FALSE(filter.nativeEventFilter("windows_generic_MSG", &changed, nullptr));
    EXPECT_EQ(looks, 1);
}

// Installed in the application, the filter sees what Qt's event loop takes from the
// thread's queue: a node change posted to the window triggers a look.
TEST(DeviceChangeFilter, TheEventLoopBringsAPostedNodeChange) {
    MessageWindow window;
    ASSERT_NE(window.hwnd(), nullptr);
    int looks = 0;
    DeviceChangeFilter filter(window.hwnd(), [&] { ++looks; });
    QCoreApplication::instance()->installNativeEventFilter(&filter);
    ASSERT_TRUE(window.post(DBT_DEVNODES_CHANGED));
    EXPECT_TRUE(testing::waitUntil([&] { return looks == 1; }));
    QCoreApplication::instance()->removeNativeEventFilter(&filter);
}

}  // namespace
}  // namespace tevusb::ui
