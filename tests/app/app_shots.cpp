// SPDX-License-Identifier: MIT
#include <QCoreApplication>
#include <QDir>

#include "app/main_menu.h"
#include "app_fixture.h"
#include "ui/dialog_host.h"
#include "ui/dialogs/about_window.h"

namespace tevusb::app {
namespace {

using testing::AppTest;

// Pictures of the main window with a flight and of the About box, for the documentation
// and for looking at what was built.
TEST_F(AppTest, ScreenshotsOfTheMainWindowAndAbout) {
    ASSERT_TRUE(QDir().mkpath(TEVUSB_SHOTS_DIR));
    openWindow();
    m_window->resize(1280, 800);
    ASSERT_TRUE(testing::waitUntil([&] { return bufferFitsClient(); }));
    m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
    trigger(command::kOpen);
    const QImage window = m_window->grab().toImage();
    EXPECT_EQ(window.size(), QSize(1280, 800));
    EXPECT_TRUE(window.save(QString(TEVUSB_SHOTS_DIR) + "/main-window.png"));

    ui::CAboutWindow about;
    ASSERT_TRUE(about.create(m_window.get()));
    about.window()->show();
    ASSERT_TRUE(testing::waitUntil([&] { return about.window()->isVisible(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(about.window()->grab().save(QString(TEVUSB_SHOTS_DIR) + "/about.png"));
    about.endDialog(0);
}

}  // namespace
}  // namespace tevusb::app
