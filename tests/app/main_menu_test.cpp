// SPDX-License-Identifier: MIT
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "app/main_menu.h"
#include "app/report_menu.h"
#include "app/simulator_menu.h"
#include "app_fixture.h"
#include "device/sim/sim_backend.h"

namespace tevusb::app {
namespace {

using testing::AppTest;

struct Shown {
    QString menu;
    QString text;
    QString id;
    bool separator;
};

// Commands added beside the designed menu carry ids from 41000 on, and only they open
// submenus (Open Recent, Units). Without them, the separators of their groups would stand
// doubled or at a menu's edge, where the designed menu has none; those are left out too.
bool isAddedEntry(const QAction* item) {
    return item->objectName().toInt() >= 41000 || item->menu() != nullptr;
}

std::vector<Shown> shownEntries(const QMainWindow& window) {
    std::vector<Shown> shown;
    for (QAction* top : window.menuBar()->actions()) {
        std::vector<Shown> menu;
        for (QAction* item : top->menu()->actions()) {
            if (isAddedEntry(item)) {
                continue;
            }
            const bool separator = item->isSeparator();
            if (separator && (menu.empty() || menu.back().separator)) {
                continue;
            }
            menu.push_back({top->text(), item->text(), item->objectName(), separator});
        }
        if (!menu.empty() && menu.back().separator) {
            menu.pop_back();
        }
        shown.insert(shown.end(), menu.begin(), menu.end());
    }
    return shown;
}

TEST_F(AppTest, MenuHasEveryItemWithItsTextAndId) {
    openWindow();
    const std::vector<Shown> expected = {
        {"File", "Open...", "40004", false},
        {"File", "", "", true},
        {"File", "Export CSV...", "40009", false},
        {"File", "Export XML...", "40016", false},
        {"File", "", "", true},
        {"File", "Exit", "40002", false},
        {"Tools", "Download Data...", "40006", false},
        {"Tools", "Device Settings...", "40007", false},
        {"Tools", "Control Device...", "40014", false},
        {"Tools", "", "", true},
        {"Tools", "Update Firmware...", "40011", false},
        {"Help", "About...", "40010", false},
    };
    const std::vector<Shown> shown = shownEntries(*m_window);
    ASSERT_EQ(shown.size(), expected.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].menu, expected[i].menu) << i;
        EXPECT_EQ(shown[i].separator, expected[i].separator) << i;
        if (!expected[i].separator) {
            EXPECT_EQ(shown[i].text, expected[i].text) << i;
            EXPECT_EQ(shown[i].id, expected[i].id) << i;
        }
    }
    EXPECT_EQ(m_window->findChild<QMenu*>(kSimulatorMenu), nullptr);
}

TEST_F(AppTest, EveryToolsAndHelpItemOpensItsDialog) {
    openWindow();
    const std::vector<std::pair<int, QString>> dialogs = {
        {command::kDownload, QStringLiteral("Download Data")},
        {command::kDeviceSettings, QStringLiteral("Program Chip")},
        {command::kControlDevice, QStringLiteral("Control Options")},
        {command::kUpdateFirmware, QStringLiteral("Update Firmware")},
        {command::kAbout, QStringLiteral("About")},
    };
    for (const auto& [id, title] : dialogs) {
        QAction* action = menuAction(*m_window, id);
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isEnabled()) << id;
        QString seen;
        // The dialog is modal: look at it and close it from the event loop it runs.
        QTimer::singleShot(50, [&seen] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                seen = dialog->windowTitle();
                dialog->close();
            }
        });
        action->trigger();
        EXPECT_EQ(seen, title) << id;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << id;
    }
}

TEST_F(AppTest, SimulatorMenuComesLastAndDrivesTheSimulatedAltimeter) {
    auto backend = std::make_shared<device::sim::SimBackend>();
    openWindow(backend);
    const QList<QAction*> menus = m_window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 5);
    EXPECT_EQ(menus.back()->text(), "Simulator");
    QMenu* menu = m_window->findChild<QMenu*>(kSimulatorMenu);
    ASSERT_NE(menu, nullptr);
    const auto action = [&](const char* name) { return menu->findChild<QAction*>(name); };
    ASSERT_NE(action(kSimUnplug), nullptr);
    EXPECT_EQ(action(kSimUnplug)->text(), "Unplug altimeter");
    EXPECT_EQ(action(kSimPlugIn)->text(), "Plug in altimeter");
    EXPECT_EQ(action(kSimBootloader)->text(), "Restart in bootloader mode");
    EXPECT_EQ(action(kSimApplication)->text(), "Restart in application mode");

    device::sim::SimAltimeter& altimeter = backend->altimeter();
    ASSERT_TRUE(altimeter.isAttached());
    emit menu->aboutToShow();
    EXPECT_TRUE(action(kSimUnplug)->isEnabled());
    EXPECT_FALSE(action(kSimPlugIn)->isEnabled());
    EXPECT_FALSE(action(kSimApplication)->isEnabled());

    action(kSimUnplug)->trigger();
    EXPECT_FALSE(altimeter.isAttached());
    EXPECT_TRUE(backend->enumerate().empty());
    emit menu->aboutToShow();
    EXPECT_TRUE(action(kSimPlugIn)->isEnabled());

    action(kSimPlugIn)->trigger();
    EXPECT_TRUE(altimeter.isAttached());
    action(kSimBootloader)->trigger();
    EXPECT_TRUE(altimeter.inBootloader());
    ASSERT_EQ(backend->enumerate().size(), 1u);
    EXPECT_EQ(backend->enumerate()[0].productId, 1);
    action(kSimApplication)->trigger();
    EXPECT_FALSE(altimeter.inBootloader());
    EXPECT_EQ(backend->enumerate()[0].productId, 2);
}

}  // namespace
}  // namespace tevusb::app
