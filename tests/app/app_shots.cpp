// SPDX-License-Identifier: MIT
#include <QCoreApplication>

#include "app/main_menu.h"
#include "app_fixture.h"
#include "support/screenshot.h"
#include "ui/dialog_host.h"
#include "ui/dialogs/about_window.h"

namespace tevusb::app {
namespace {

using testing::AppTest;

// A picture of the main window with a flight, for the documentation and for looking at
// what was built (the About box's is the dialog screenshots').
TEST_F(AppTest, ScreenshotOfTheMainWindow) {
    openWindow();
    m_window->resize(1280, 800);
    ASSERT_TRUE(testing::waitUntil([&] { return bufferFitsClient(); }));
    m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
    trigger(command::kOpen);
    const QImage window = m_window->grab().toImage();
    EXPECT_EQ(window.size(), QSize(1280, 800));
    EXPECT_TRUE(tevusb::testing::saveShot(window, "main-window.png"));
}

}  // namespace
}  // namespace tevusb::app
