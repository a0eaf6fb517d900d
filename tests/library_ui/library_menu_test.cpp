// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QTableView>

#include "app/app_options.h"
#include "app/library_menu.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "data/data_set_store.h"
#include "library_app_test.h"
#include "library_rig.h"
#include "support/dialog_fixture.h"
#include "ui/library/flight_filter_proxy.h"
#include "ui/library/flight_table_model.h"
#include "ui/library/library_window.h"
#include "ui/scripted_prompts.h"

namespace tevusb::app {
namespace {

using ui::testing::waitUntil;

class LibraryMenuTest : public libtest::LibraryAppTest {
  protected:
    QStringList recentTexts() {
        auto* menu = window->findChild<LibraryMenu*>();
        menu->refreshRecent();
        QStringList texts;
        for (QAction* a : menu->recentMenu()->actions()) {
            texts << a->objectName() + "=" + a->text();
        }
        return texts;
    }
};

TEST_F(LibraryMenuTest, AFlightOpenedFromTheLibraryIsShownAsFileOpenShowsIt) {
    ASSERT_EQ(lib.seed(2, {"Nova", "Arcas"}).size(), 2u);
    QAction* command = menuAction(*window, command::kFlightLibrary);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->text(), "Flight Library...");
    command->trigger();
    auto* libraryWindow = window->findChild<ui::LibraryWindow*>();
    ASSERT_NE(libraryWindow, nullptr);
    ASSERT_TRUE(waitUntil(
        [&] { return libraryWindow->model().rowCount() == 2 && !libraryWindow->busy(); }));
    EXPECT_TRUE(libraryWindow->isVisible());
    EXPECT_EQ(store.current.size(), 0u);

    const ui::FlightFilterProxy& proxy = libraryWindow->proxy();
    int row = 0;
    while (proxy.index(row, ui::FlightTableModel::Rocket).data().toString() != "Arcas") {
        ASSERT_LT(++row, proxy.rowCount());
    }
    libraryWindow->table()->selectRow(row);
    libraryWindow->openSelected();
    EXPECT_TRUE(prompts.boxes().empty());
    EXPECT_GT(store.current.size(), 100u);
    EXPECT_EQ(store.current.setIndex, 0);
    data::DataSetStore sample;
    ASSERT_TRUE(sample.loadSetFile(TEVUSB_SAMPLE_FLIGHT));
    sample.selectSet(0);
    EXPECT_EQ(store.current.adcCounts, sample.current.adcCounts);
    EXPECT_EQ(store.settings.adcOffset, 1);  // the second seeded flight's calibration
    EXPECT_EQ(store.scale.xSpan, static_cast<int>(store.current.size() / 10));

    const QStringList recent = recentTexts();
    ASSERT_EQ(recent.size(), 1);
    EXPECT_TRUE(recent[0].startsWith("41022=Library: ")) << recent[0].toStdString();
}

TEST_F(LibraryMenuTest, OpenRecentListsTheLastFilesNewestFirstAndDropsAVanishedOne) {
    QAction* recentMenu = menuAction(*window, command::kOpenRecent);
    ASSERT_NE(recentMenu, nullptr);
    ASSERT_NE(recentMenu->menu(), nullptr);
    EXPECT_EQ(recentMenu->text(), "Open Recent");
    EXPECT_EQ(recentTexts(), QStringList{"=No recent files"});

    const QByteArray sample = ui::libtest::readFile(TEVUSB_SAMPLE_FLIGHT);
    for (int i = 0; i < 12; ++i) {
        const QString path = lib.path(QStringLiteral("f%1.tev").arg(i));
        ui::libtest::writeFile(path, sample);
        ASSERT_TRUE(window->fileCommands().openFile(path));
    }
    QStringList texts = recentTexts();
    ASSERT_EQ(texts.size(), 10);
    EXPECT_EQ(texts.front(), "41022=f11.tev");
    EXPECT_EQ(texts.back(), "41031=f2.tev");

    // Opening an older entry moves it to the top; a file gone since is said and dropped.
    auto* menu = window->findChild<LibraryMenu*>();
    menu->recentMenu()->actions()[4]->trigger();  // f7
    EXPECT_EQ(recentTexts().front(), "41022=f7.tev");
    QFile::remove(lib.path("f11.tev"));
    menu->recentMenu()->actions()[1]->trigger();  // f11
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_TRUE(prompts.boxes()[0].text.startsWith("Could not load file."));
    texts = recentTexts();
    EXPECT_EQ(texts.size(), 9);
    EXPECT_FALSE(texts.join(",").contains("f11.tev"));
}

TEST(LibraryOptionTest, LibraryTakesAFolderInEitherSpelling) {
    auto spaced = parseAppOptions({"--library", "/data/flights", "--simulator"});
    ASSERT_TRUE(spaced);
    EXPECT_EQ(spaced->library.value_or(""), "/data/flights");
    EXPECT_TRUE(spaced->simulator);
    auto joined = parseAppOptions({"--library=/x y/z"});
    ASSERT_TRUE(joined);
    EXPECT_EQ(joined->library.value_or(""), "/x y/z");
    EXPECT_FALSE(parseAppOptions({})->library.has_value());
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"--library"}, {"--library="}}) {
        std::string error;
        EXPECT_FALSE(parseAppOptions(words, &error));
        EXPECT_NE(error.find("--library needs a folder"), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace tevusb::app
