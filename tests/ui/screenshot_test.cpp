// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QPainter>
#include <QPushButton>

#include "support/screenshot.h"
#include "test_dialog.h"
#include "ui/dialog_templates.h"
#include "ui/dialogs/about_window.h"
#include "ui/resource_images.h"
#include "ui/status_box.h"

namespace tevusb::ui {
namespace {

using testing::TestDialog;
using testing::waitUntil;
using K = ControlKind;

// Pictures of the dialogs for a person to look at; the checks only make sure they exist.
using tevusb::testing::shotPath;

TEST(ScreenshotTest, AboutBox) {
    CAboutWindow about;
    ASSERT_TRUE(about.create(nullptr));
    about.window()->show();
    ASSERT_TRUE(
        waitUntil([&] { return qobject_cast<StatusBox*>(about.item(1003))->refreshCount() == 5; }));
    const QPixmap shot = about.window()->grab();
    EXPECT_TRUE(shot.save(shotPath("about.png")));
}

TEST(ScreenshotTest, DeviceDialogWithGroupBoxesAndStatus) {
    // Laid out like the firmware dialog, with an options box like the control dialog's.
    DialogTemplate t;
    t.id = 506;
    t.title = "Sample Dialog";
    t.clientWidth = 311;
    t.clientHeight = 190;
    t.resizable = true;
    t.controls = {
        {1008, K::GroupBox, "Options", QRect(7, 7, 297, 55)},
        {1039, K::PushButton, "Emulate Launch...", QRect(14, 21, 78, 18)},
        {1040, K::PushButton, "Read Pressure", QRect(101, 21, 78, 18)},
        {1032, K::CheckBox, "Live Update", QRect(190, 24, 60, 10)},
        {1007, K::GroupBox, "Status", QRect(7, 68, 297, 88)},
        {1003, K::StatusBox, "", QRect(50, 81, 247, 67)},
        {1033, K::Icon, "", QRect(14, 81, 16, 16), 110},
        {1005, K::PushButton, "Update...", QRect(177, 165, 60, 18)},
        {1004, K::PushButton, "Close", QRect(244, 165, 60, 18)},
    };
    TestDialog dialog(t, [](TestDialog& d, const DialogMessage& m) {
        if (m.message != Message::InitDialog) {
            return false;
        }
        d.createLayout();
        d.anchor(1003, true, true, true, true);
        d.anchor(1005, false, false, true, true);
        d.anchor(1004, false, false, true, true);
        d.anchorGroupBox(1007, true, true, true, true);
        d.anchorGroupBox(1008, true, true, false, true);
        d.appendStatus(QStringLiteral("Device Connected.\r\n"));
        d.appendStatus(QStringLiteral("Current device firmware version: 1.50\r\n"));
        for (int p = 10; p <= 60; p += 10) {
            d.appendStatus(QStringLiteral("%1%\r\n").arg(p));
        }
        return true;
    });
    ASSERT_TRUE(dialog.create(nullptr));
    dialog.window()->show();
    waitUntil([] { return false; }, 200);
    const QImage shot = dialog.window()->grab().toImage();
    EXPECT_TRUE(shot.save(shotPath("sample_dialog.png")));
    // The status frame's corners and caption, six times enlarged.
    const QRect frame = dialog.groupBoxes()[0]->window->geometry();
    const QImage topLeft = shot.copy(QRect(frame.topLeft(), QSize(70, 24)));
    const QImage bottomRight =
        shot.copy(QRect(frame.bottomRight() - QPoint(23, 23), QSize(24, 24)));
    QImage zoom(6 * (70 + 24 + 2), 6 * 24, QImage::Format_RGB32);
    zoom.fill(Qt::black);
    QPainter painter(&zoom);
    painter.drawImage(QRect(0, 0, 6 * 70, 6 * 24), topLeft);
    painter.drawImage(QRect(6 * 72, 0, 6 * 24, 6 * 24), bottomRight);
    painter.end();
    EXPECT_TRUE(zoom.save(shotPath("group_box_corners.png")));
    dialog.window()->resize(dialog.window()->size() + QSize(120, 60));
    waitUntil([] { return false; }, 200);
    EXPECT_TRUE(dialog.window()->grab().save(shotPath("sample_dialog_enlarged.png")));
}

TEST(ScreenshotTest, EveryTemplateWithItsGroupBoxes) {
    for (int id :
         {kDialogProgramChip, kDialogDownloadData, kDialogUpdateFirmware, kDialogControlOptions}) {
        const DialogTemplate t = *findDialogTemplate(id);
        TestDialog dialog(t, [&t](TestDialog& d, const DialogMessage& m) {
            if (m.message != Message::InitDialog) {
                return false;
            }
            for (const ControlTemplate& c : t.controls) {
                if (c.kind == ControlKind::GroupBox) {
                    EXPECT_NE(d.replaceGroupBox(c.id), nullptr);
                }
            }
            d.appendStatus(QStringLiteral("Device not found.\r\n"));
            return true;
        });
        ASSERT_TRUE(dialog.create(nullptr));
        dialog.window()->show();
        waitUntil([] { return false; }, 100);
        EXPECT_TRUE(
            dialog.window()->grab().save(shotPath(QStringLiteral("template_%1.png").arg(id))));
    }
}

TEST(ScreenshotTest, Icons) {
    QImage sheet(3 * 56 + 8, 64, QImage::Format_RGB32);
    sheet.fill(QColor(196, 223, 255));
    QPainter painter(&sheet);
    int x = 8;
    for (int id : {kIconProgram, kIconNotConnected, kIconConnected}) {
        const QPixmap icon = iconPixmap(id);
        ASSERT_EQ(icon.size(), QSize(48, 48)) << id;
        painter.drawPixmap(x, 8, icon);
        x += 56;
    }
    painter.end();
    EXPECT_TRUE(sheet.save(shotPath("icons.png")));
    EXPECT_TRUE(iconPixmap(4242).isNull());
    EXPECT_FALSE(programIcon().isNull());
}

}  // namespace
}  // namespace tevusb::ui
