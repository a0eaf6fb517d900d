// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "data/data_set_store.h"
#include "library_rig.h"
#include "support/dialog_fixture.h"
#include "ui/dialogs/capture_ids.h"
#include "ui/dialogs/capture_window.h"
#include "ui/dialogs/download_archive.h"
#include "ui/library_service.h"

namespace tevusb::ui {
namespace {

using namespace capture_ids;
using testing::enabled;
using testing::press;
using testing::SimRig;
using testing::waitUntil;

bool download(CCaptureWindow& dialog) {
    return press(dialog, kReadData) && waitUntil([&] {
               return !dialog.worker().running() && enabled(dialog, kReadData) &&
                      dialog.statusText().contains("Packets Read: ");
           });
}

TEST(DownloadArchiveTest, EverySetGoesIntoTheLibraryAndTheLineSaysWhere) {
    libtest::LibraryRig lib;
    SimRig rig(testing::instantConfig(3));
    settings::DeviceSettings deviceSettings;
    deviceSettings.adcOffset = 37;
    deviceSettings.build();
    rig.sim().setSettingsImage(deviceSettings.image);
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(download(dialog));
    const int sets = rig.device.store.setCount();
    ASSERT_EQ(sets, 3);
    const QString folder = QString::fromStdString(lib.folder().string());
    // The designed lines stay in their order; ours comes after the last of them.
    EXPECT_TRUE(dialog.statusText().endsWith(
        QStringLiteral("Packets Read: %1\r\nSaved 3 flights to the flight library (%2).\r\n")
            .arg(rig.device.store.packets.size())
            .arg(folder)))
        << dialog.statusText().toStdString();

    const std::vector<library::FlightRecord> rows = lib.listFresh();
    ASSERT_EQ(rows.size(), 3u);
    for (const library::FlightRecord& row : rows) {
        EXPECT_EQ(row.firmwareVersion, "1.50");
        data::DataSetStore back;
        ASSERT_TRUE(back.loadSetFile(lib.folder() / row.archivePath)) << row.archivePath;
        EXPECT_EQ(back.settings.image, deviceSettings.image);
        back.selectSet(0);
        rig.device.store.selectSet(row.setNumber - 1);
        EXPECT_EQ(back.current.adcCounts, rig.device.store.current.adcCounts);
    }

    // The same memory read again adds nothing and says so.
    ASSERT_TRUE(download(dialog));
    EXPECT_TRUE(dialog.statusText().endsWith(
        QStringLiteral("All 3 flights were already in the flight library (%1).\r\n").arg(folder)));
    EXPECT_EQ(lib.listFresh().size(), 3u);
}

TEST(DownloadArchiveTest, ALibraryThatCannotBeWrittenIsSaidAndTheFlightsStaySavable) {
    libtest::LibraryRig lib;
    // A file where the library folder should be: nothing can be made there.
    libtest::writeFile(lib.path("blocked"), "not a folder");
    const std::filesystem::path blocked =
        std::filesystem::path(lib.path("blocked").toStdString()) / "library";
    libraryService().setFolder(blocked);
    SimRig rig(testing::instantConfig(2));
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(download(dialog));
    const QString status = dialog.statusText();
    const QString lastLine = status.section(QStringLiteral("\r\n"), -2, -2);
    EXPECT_TRUE(lastLine.startsWith(QStringLiteral("Could not save to the flight library (%1): ")
                                        .arg(QString::fromStdString(blocked.string()))))
        << lastLine.toStdString();
    EXPECT_TRUE(lastLine.endsWith("The flights are still here to save by hand."));
    EXPECT_TRUE(status.contains("Packets Read: "));

    ASSERT_EQ(rig.device.store.setCount(), 2);
    EXPECT_TRUE(enabled(dialog, kSaveAll));
    rig.prompts.choose(lib.path("one.tev"));
    rig.prompts.choose(lib.path("two.tev"));
    ASSERT_TRUE(press(dialog, kSaveAll));
    data::DataSetStore back;
    EXPECT_TRUE(back.loadSetFile(lib.path("two.tev").toStdString()));
}

TEST(DownloadArchiveTest, ADamagedIndexIsSaidWithWhereToRebuildIt) {
    libtest::LibraryRig lib;
    libtest::writeFile(QString::fromStdString((lib.folder() / "index.sqlite").string()),
                       QByteArray(8192, 'x'));
    SimRig rig(testing::instantConfig(1));
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(download(dialog));
    EXPECT_TRUE(dialog.statusText().endsWith(
        "File > Flight Library... can rebuild it. The flights are still here to save by "
        "hand.\r\n"))
        << dialog.statusText().toStdString();
    EXPECT_EQ(rig.device.store.setCount(), 1);
}

TEST(DownloadArchiveTest, StatusLineCountsSavedKnownAndFailedSets) {
    using library::LibraryStatus;
    const auto item = [](int set, LibraryStatus status, std::string message = {}) {
        return library::ItemOutcome{set, {}, {status, std::move(message), 0}};
    };
    EXPECT_EQ(archiveStatusLine({item(1, LibraryStatus::Ok)}, "/lib"),
              "Saved 1 flight to the flight library (/lib).\r\n");
    EXPECT_EQ(archiveStatusLine({item(1, LibraryStatus::Ok), item(2, LibraryStatus::Duplicate),
                                 item(3, LibraryStatus::Duplicate)},
                                "/lib"),
              "Saved 1 flight to the flight library (/lib); 2 were already there.\r\n");
    EXPECT_EQ(archiveStatusLine(
                  {item(1, LibraryStatus::Ok), item(2, LibraryStatus::WriteFailed, "Disk full."),
                   item(3, LibraryStatus::WriteFailed, "Disk full.")},
                  "/lib"),
              "Saved 1 of 3 flights to the flight library (/lib); set 2: Disk full. The "
              "flights are still here to save by hand.\r\n");
    EXPECT_EQ(archiveStatusLine({item(1, LibraryStatus::Busy, "")}, "/lib"),
              "Could not save 1 flight to the flight library (/lib); set 1: unknown error. The "
              "flights are still here to save by hand.\r\n");
}

TEST(DownloadArchiveTest, TheSimulatorsLibraryIsNamedAsSuch) {
    libtest::LibraryRig lib;
    const std::filesystem::path folder = lib.folder() / "simulator";
    libraryService().setFolder(folder, true);
    SimRig rig(testing::instantConfig(3));
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(download(dialog));
    EXPECT_TRUE(dialog.statusText().endsWith(
        QStringLiteral("Saved 3 flights to the simulator's flight library (%1).\r\n")
            .arg(QString::fromStdString(folder.string()))))
        << dialog.statusText().toStdString();
    EXPECT_TRUE(std::filesystem::exists(folder / "index.sqlite"));
    EXPECT_FALSE(std::filesystem::exists(lib.folder() / "index.sqlite"));

    // Another folder chosen later is the flyer's again.
    libraryService().setFolder(lib.folder());
    EXPECT_FALSE(libraryService().simulatorLibrary());
    using library::LibraryStatus;
    const library::ItemOutcome known{1, {}, {LibraryStatus::Duplicate, {}, 4}};
    EXPECT_EQ(archiveStatusLine({known, known}, "/lib/simulator", true),
              "All 2 flights were already in the simulator's flight library (/lib/simulator).\r\n");
}

}  // namespace
}  // namespace tevusb::ui
