// SPDX-License-Identifier: MIT
// A new window opened from a modal dialog (the bench-test report from Control Options):
// usable at once, in front of the dialog, whole on the small offscreen screen.
#include <gtest/gtest.h>

#include <QDialog>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "ui/window_placement.h"

namespace tevusb::ui {
namespace {

// Whether Qt holds a window's input back for a modal dialog.
class BlockedState : public QObject {
  public:
    bool blocked = false;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::WindowBlocked) {
            blocked = true;
        } else if (event->type() == QEvent::WindowUnblocked) {
            blocked = false;
        }
        return false;
    }
};

TEST(WindowPlacementTest, AWindowOpenedFromAModalDialogIsUsableInFrontOfItAndFitsTheScreen) {
    QWidget main;
    main.show();
    ASSERT_NE(main.screen(), nullptr);
    const QRect screen = main.screen()->availableGeometry();
    QWidget report(&main, Qt::Window);
    BlockedState state;
    report.installEventFilter(&state);
    report.resize(screen.size() + QSize(400, 300));
    QDialog dialog(&main);
    bool blockedWhileOpen = true;
    bool inFrontOfTheDialog = false;
    QTimer::singleShot(0, &dialog, [&] {
        showInFront(&report, &main);
        blockedWhileOpen = state.blocked;
        inFrontOfTheDialog = report.windowHandle()->transientParent() == dialog.windowHandle();
        dialog.accept();
    });
    dialog.exec();
    EXPECT_FALSE(blockedWhileOpen);
    EXPECT_TRUE(inFrontOfTheDialog);
    EXPECT_TRUE(screen.contains(report.geometry()));
    // The dialog has ended: the report stays, and belongs to the main window again.
    EXPECT_TRUE(report.isVisible());
    EXPECT_FALSE(state.blocked);
    EXPECT_EQ(report.windowHandle()->transientParent(), main.windowHandle());

    // Already open when the dialog comes up again: shown again, it is freed the same way.
    QDialog second(&main);
    QTimer::singleShot(0, &second, [&] {
        blockedWhileOpen = state.blocked;
        showInFront(&report, &main);
        inFrontOfTheDialog = !state.blocked;
        second.accept();
    });
    second.exec();
    EXPECT_TRUE(blockedWhileOpen) << "what the lending undoes";
    EXPECT_TRUE(inFrontOfTheDialog);
}

}  // namespace
}  // namespace tevusb::ui
