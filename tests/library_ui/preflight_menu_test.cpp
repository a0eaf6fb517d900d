// SPDX-License-Identifier: MIT
// Tools > Rocket Profiles... and Pre-flight Check... on the main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "app/main_menu.h"
#include "app/preflight_menu.h"
#include "app/view_menu.h"
#include "library/rocket_profiles.h"
#include "library_app_test.h"
#include "support/dialog_fixture.h"
#include "ui/dialogs/preflight_window.h"
#include "ui/dialogs/profile_form.h"
#include "ui/dialogs/profiles_window.h"
#include "ui/library/library_window.h"
#include "ui/library_service.h"

namespace tevusb::app {
namespace {

using ui::testing::waitUntil;

class PreflightMenuTest : public libtest::LibraryAppTest {};

TEST_F(PreflightMenuTest, TheTwoToolsComeAfterTheDesignedOnesAndOpenTheirWindows) {
    settings::RocketProfile nova;
    nova.name = "Nova";
    ASSERT_TRUE(library::saveProfile(*ui::libraryService().acquire(), nova).ok());
    auto* tools = window->menuBar()->findChild<QMenu*>(QStringLiteral("Tools"));
    ASSERT_NE(tools, nullptr);
    const QList<QAction*> actions = tools->actions();
    ASSERT_GE(actions.size(), 3);
    // The designed entries keep their places; the new ones follow a separator.
    EXPECT_EQ(actions[actions.size() - 4]->objectName(), QString::number(command::kUpdateFirmware));
    EXPECT_TRUE(actions[actions.size() - 3]->isSeparator());
    EXPECT_EQ(actions[actions.size() - 2]->text(), "Rocket Profiles...");
    EXPECT_EQ(actions[actions.size() - 1]->text(), "Pre-flight Check...");

    menuAction(*window, command::kRocketProfiles)->trigger();
    auto* profiles = window->findChild<ui::ProfilesWindow*>();
    ASSERT_NE(profiles, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !profiles->busy(); }));
    auto* list = profiles->findChild<QListWidget*>(QStringLiteral("ProfileList"));
    ASSERT_EQ(list->count(), 1);
    // "Flights of This Rocket" shows the library filtered by the rocket's name.
    list->setCurrentRow(0);
    profiles->findChild<QPushButton*>(QStringLiteral("RocketFlights"))->click();
    auto* library = window->findChild<ui::LibraryWindow*>();
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(library->filterEdit()->text(), "Nova");
    ASSERT_TRUE(waitUntil([&] { return !library->busy(); }));
    library->close();

    menuAction(*window, command::kPreflightCheck)->trigger();
    auto* check = window->findChild<ui::PreflightWindow*>();
    ASSERT_NE(check, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !check->busy(); }));
    EXPECT_TRUE(check->isVisible());
    check->close();
}

TEST_F(PreflightMenuTest, TheProfilesWindowFollowsViewUnitsWithoutLosingWhatWasTyped) {
    settings::RocketProfile nova;
    nova.name = "Nova";
    nova.lineB = {static_cast<std::uint8_t>(settings::LineMode::Altitude), 300};
    nova.expectedApogeeM = 600.0;
    ASSERT_TRUE(library::saveProfile(*ui::libraryService().acquire(), nova).ok());
    menuAction(*window, command::kRocketProfiles)->trigger();
    auto* profiles = window->findChild<ui::ProfilesWindow*>();
    ASSERT_NE(profiles, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !profiles->busy(); }));
    profiles->findChild<QListWidget*>(QStringLiteral("ProfileList"))->setCurrentRow(0);
    const auto text = [&](const char* name) {
        return profiles->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    };
    ASSERT_EQ(text("LineBValue"), "300");
    ASSERT_EQ(text("ExpectedApogee"), "600");

    menuAction(*window, view_command::kImperial)->trigger();
    EXPECT_EQ(text("LineBValue"), "984");
    EXPECT_EQ(text("ExpectedApogee"), "1969");
    auto* form = profiles->findChild<ui::ProfileForm*>();
    std::string problem;
    const auto asFeet = form->profile(problem);
    ASSERT_TRUE(asFeet.has_value()) << problem;
    EXPECT_EQ(asFeet->lineB.value, std::optional<std::uint16_t>(300));

    // A field being typed that is not a number yet stays as it is; the others convert.
    profiles->findChild<QLineEdit*>(QStringLiteral("ExpectedApogee"))->setText("21x");
    profiles->findChild<QLineEdit*>(QStringLiteral("Inhibit"))->setText("3.5");
    menuAction(*window, view_command::kMetric)->trigger();
    EXPECT_EQ(text("ExpectedApogee"), "21x");
    EXPECT_EQ(text("Inhibit"), "3.5");
    EXPECT_EQ(text("LineBValue"), "300");
    profiles->findChild<QLineEdit*>(QStringLiteral("ExpectedApogee"))->setText("650");
    const auto asMetres = form->profile(problem);
    ASSERT_TRUE(asMetres.has_value()) << problem;
    EXPECT_EQ(asMetres->expectedApogeeM, std::optional<double>(650.0));
    EXPECT_EQ(asMetres->inhibitTime, 35);
    profiles->close();
}

}  // namespace
}  // namespace tevusb::app
