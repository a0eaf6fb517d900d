// SPDX-License-Identifier: MIT
// What keeps a flyer from guessing: the keys on the menus, the User Guide, the name and
// clock of the flight shown, and new windows placed whole on a small screen.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>

#include "app/keyboard_access.h"
#include "app/library_menu.h"
#include "app/main_menu.h"
#include "app/report_menu.h"
#include "app/user_guide.h"
#include "app/view_menu.h"
#include "app_fixture.h"
#include "graph/flight_graph.h"
#include "ui/flight_statistics_panel.h"
#include "ui/window_placement.h"

namespace tevusb::app {
namespace {

using FlyerGuidance = testing::AppTest;

TEST_F(FlyerGuidance, EveryUsualKeySitsOnItsMenuItemAndTheCaptionsStayAsWritten) {
    openWindow();
    const std::pair<int, QKeySequence> keys[] = {
        {command::kOpen, QKeySequence(QStringLiteral("Ctrl+O"))},
        {command::kPrint, QKeySequence(QStringLiteral("Ctrl+P"))},
        {command::kExit, QKeySequence(QStringLiteral("Ctrl+Q"))},
        {command::kFlightLibrary, QKeySequence(QStringLiteral("Ctrl+L"))},
        {command::kUserGuide, QKeySequence(QStringLiteral("F1"))},
    };
    QList<QKeySequence> seen;
    for (const auto& [id, key] : keys) {
        QAction* action = menuAction(*m_window, id);
        ASSERT_NE(action, nullptr) << id;
        EXPECT_EQ(action->shortcut(), key) << id;
        EXPECT_FALSE(action->text().contains('&')) << action->text().toStdString();
        EXPECT_FALSE(seen.contains(key)) << "one key, one command";
        seen << key;
    }
    EXPECT_EQ(menuAction(*m_window, command::kOpen)->text(), "Open...");
    // Alt + the first letter opens each menu of the bar.
    for (const char* menu : {"File", "Tools", "View", "Help"}) {
        auto* key = m_window->findChild<QShortcut*>(QStringLiteral("menuKey") + menu);
        ASSERT_NE(key, nullptr) << menu;
        EXPECT_EQ(key->key(), QKeySequence(QStringLiteral("Alt+") + QChar(menu[0])));
        emit key->activated();
        ASSERT_NE(m_window->menuBar()->activeAction(), nullptr);
        EXPECT_EQ(m_window->menuBar()->activeAction()->menu()->objectName(), menu);
        m_window->menuBar()->setActiveAction(nullptr);
    }
}

TEST_F(FlyerGuidance, HelpOpensTheUserGuideBeforeTheAboutBox) {
    openWindow();
    QMenu* help = m_window->menuBar()->findChild<QMenu*>(QStringLiteral("Help"));
    ASSERT_NE(help, nullptr);
    const QList<QAction*> items = help->actions();
    ASSERT_GE(items.size(), 2);
    EXPECT_EQ(items[0]->text(), "User Guide");
    EXPECT_EQ(items[1]->text(), "About...");
    ASSERT_FALSE(userGuideFile().isEmpty()) << "the build makes the guide";
    trigger(command::kUserGuide);
    auto* guide = m_window->findChild<QTextBrowser*>(QStringLiteral("UserGuide"));
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
    EXPECT_TRUE(guide->toPlainText().contains("Download the flights"));
    EXPECT_TRUE(guide->toPlainText().contains("PASS"));
    trigger(command::kUserGuide);
    EXPECT_EQ(m_window->findChildren<QTextBrowser*>(QStringLiteral("UserGuide")).size(), 1);
}

TEST_F(FlyerGuidance, TheFlightShownIsNamedWithItsClockInThePanelAndTheAnalysisView) {
    openWindow();
    // The empty window says what to do; a flight never has the hint over it.
    auto* hint = m_window->findChild<QWidget*>(QStringLiteral("emptyHint"));
    ASSERT_NE(hint, nullptr);
    m_window->grab();
    EXPECT_FALSE(hint->isHidden());
    m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
    trigger(command::kOpen);
    m_window->grab();
    EXPECT_TRUE(hint->isHidden());
    trigger(view_command::kFlightStatistics);
    auto* panel = m_window->findChild<ui::FlightStatisticsPanel*>("FlightStatisticsPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->caption(), "sample-flight.tev, set 1  \u00b7  T+ counts from launch");
    EXPECT_EQ(m_window->graph().viewState().title, "sample-flight.tev, set 1");
    EXPECT_TRUE(panel->rowTexts().join('\n').contains(" at T+"));
}

TEST(WindowPlacement, AWindowTallerThanTheScreenIsShrunkOntoIt) {
    // Compare Flights asked for 1000 x 760 on a screen with 1000 px of room below y = 0.
    const QRect small(0, 0, 1280, 700);
    const QRect placed = ui::fittedGeometry(QSize(1000, 760), small);
    EXPECT_TRUE(small.contains(placed)) << placed.y() << " " << placed.height();
    EXPECT_LE(placed.height(), 700 - 40) << "room for the title bar";
    EXPECT_EQ(placed.width(), 1000);
    EXPECT_EQ(placed.center().x(), small.center().x());
    // A second screen to the right: the window lands on it, not on the first.
    const QRect right(1280, 0, 800, 600);
    EXPECT_TRUE(right.contains(ui::fittedGeometry(QSize(760, 560), right)));
}

TEST(WindowPlacement, AShownWindowFitsTheScreenItsAnchorIsOn) {
    QWidget anchor;
    anchor.show();
    QWidget window(nullptr, Qt::Window);
    window.resize(4000, 3000);
    ui::showInFront(&window, &anchor);
    ASSERT_NE(anchor.screen(), nullptr);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(anchor.screen()->availableGeometry().contains(window.geometry()));
    // Shown again, it keeps where the flyer put it.
    window.move(window.pos() + QPoint(5, 5));
    const QRect moved = window.geometry();
    ui::showInFront(&window, &anchor);
    EXPECT_EQ(window.geometry(), moved);
}

}  // namespace
}  // namespace tevusb::app
