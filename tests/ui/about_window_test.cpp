// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "support/log_capture.h"
#include "support/screenshot.h"
#include "test_dialog.h"
#include "ui/dialogs/about_window.h"
#include "ui/status_box.h"
#include "ui/user_guide_location.h"

namespace tevusb::ui {
namespace {

using testing::waitUntil;
using tevusb::testing::LogCapture;

StatusBox* statusBox(CAboutWindow& about) {
    return qobject_cast<StatusBox*>(about.item(1003));
}

void createShown(CAboutWindow& about) {
    ASSERT_TRUE(about.create(nullptr));
    about.window()->show();
    ASSERT_TRUE(waitUntil([&] { return statusBox(about)->refreshCount() == 5; }));
}

TEST(AboutWindowTest, ShowsTheSevenLinesOfVersions) {
    CAboutWindow about;
    createShown(about);
    const QStringList lines = statusBox(about)->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 7);
    // The program has no web page: the address is the folder of the User Guide it comes with.
    ASSERT_TRUE(QFileInfo(userGuideFile()).isFile()) << "the build makes the guide";
    const QString folder = QFileInfo(userGuideFile()).absolutePath();
    EXPECT_EQ(lines[0],
              "Visit " + QDir::toNativeSeparators(folder) + " for updates and further info.");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "Software is version 1.50 and is designed for:");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "Firmware version 1.5x");
    EXPECT_EQ(lines[5], "Bootloader version 1.1x");
    EXPECT_EQ(lines[6], "Hardware version 1.2x");
    // All seven fit with the address of the installed guide (the box is not scrolled); the
    // build tree's longer one may wrap once more.
    QString installed = about.statusText();
    installed.replace(QDir::toNativeSeparators(folder), "/usr/share/doc/tevusb");
    statusBox(about)->showBuffer(installed);
    EXPECT_EQ(statusBox(about)->verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(tevusb::testing::saveShot(*about.window(), "about_installed.png"));
    EXPECT_EQ(about.window()->windowTitle(), "About");
}

TEST(AboutWindowTest, HasItsPictureAndCannotBeResized) {
    CAboutWindow about;
    createShown(about);
    auto* picture = qobject_cast<QLabel*>(about.item(1038));
    ASSERT_NE(picture, nullptr);
    const QPixmap pixmap = picture->pixmap();
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_EQ(pixmap.size(), QSize(386, 109));
    EXPECT_FALSE(pixmap.hasAlphaChannel());
    const QImage image = pixmap.toImage();
    EXPECT_NE(image.pixel(5, 5), image.pixel(5, 104));  // drawn, not a blank fill
    EXPECT_EQ(about.window()->minimumSize(), about.window()->maximumSize());
    ASSERT_EQ(about.groupBoxes().size(), 1u);
    EXPECT_EQ(about.groupBoxes()[0]->caption, "About");
    // The status box lies inside the group box, the Close button below it.
    const QRect frame = about.groupBoxes()[0]->window->geometry();
    EXPECT_TRUE(frame.contains(about.item(1003)->geometry()));
    EXPECT_GT(about.item(1004)->geometry().top(), frame.bottom());
}

TEST(AboutWindowTest, CloseButtonAndEscapeEndItOtherCommandsDoNot) {
    {
        CAboutWindow about;
        createShown(about);
        about.sendMessage({Message::Command, kIdOk, 0, {}});
        about.sendMessage({Message::Command, kIdCancel, 0, {}});
        QTest::keyClick(about.window(), Qt::Key_Return);
        EXPECT_TRUE(about.window()->isVisible());
        QTest::mouseClick(about.item(1004), Qt::LeftButton);
        EXPECT_FALSE(about.window()->isVisible());
    }
    {
        CAboutWindow about;
        createShown(about);
        QTest::keyClick(about.item(1004), Qt::Key_Escape);
        EXPECT_FALSE(about.window()->isVisible());
    }
}

TEST(AboutWindowTest, RunsModallyAndLogsItsDestruction) {
    LogCapture log;
    {
        CAboutWindow about;
        QTimer::singleShot(50, [&] {
            if (about.window() != nullptr) {
                QTest::mouseClick(about.item(1004), Qt::LeftButton);
            }
        });
        EXPECT_EQ(about.show(nullptr), 0);
        EXPECT_EQ(log.count("DESTRUCT"), 0);
    }
    EXPECT_EQ(log.count("DESTRUCT"), 1);
}

}  // namespace
}  // namespace tevusb::ui
