// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/dialog_fixture.h"
#include "support/log_capture.h"
#include "ui/dialogs/capture_ids.h"
#include "ui/dialogs/capture_window.h"
#include "ui/dialogs/memory_map.h"

namespace tevusb::ui {
namespace {

using namespace capture_ids;
using testing::enabled;
using testing::press;
using testing::SimRig;
using testing::waitUntil;

std::string fileText(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The pixel x inside the memory map that picks packet column `column`.
int xOfColumn(CCaptureWindow& dialog, int column) {
    const double columnWidth = (dialog.item(kMap)->width() + 2) / 128.0;
    return static_cast<int>(column * columnWidth + 0.25 * columnWidth);
}

void clickColumn(CCaptureWindow& dialog, int column) {
    QTest::mouseClick(dialog.item(kMap), Qt::LeftButton, {}, QPoint(xOfColumn(dialog, column), 3));
}

bool download(CCaptureWindow& dialog) {
    if (!press(dialog, kReadData)) {
        return false;
    }
    return waitUntil([&] {
        return !dialog.worker().running() && dialog.statusText().contains("Packets Read: ") &&
               enabled(dialog, kReadData);
    });
}

void check(CCaptureWindow& dialog, int id, bool on) {
    auto* box = qobject_cast<QCheckBox*>(dialog.item(id));
    ASSERT_NE(box, nullptr);
    box->setChecked(on);
}

// The device's own calibration differs from the program's default, so using the wrong
// one shows in every exported altitude.
void giveDeviceAnOffset(SimRig& rig, int offset) {
    settings::DeviceSettings s;
    s.adcOffset = offset;
    s.build();
    rig.sim().setSettingsImage(s.image);
}

TEST(CaptureWindowTest, OpensWithEverythingButReadDataDisabledWhileTheImageIsEmpty) {
    SimRig rig;
    CCaptureWindow dialog(nullptr, &rig.graph, &rig.surface);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    EXPECT_EQ(dialog.window()->windowTitle(), "Download Data");
    EXPECT_EQ(dialog.statusText(),
              "Device Connected.\r\nCurrent device firmware version: 1.50\r\n");
    EXPECT_TRUE(enabled(dialog, kReadData));
    EXPECT_TRUE(enabled(dialog, kClearDevice));
    EXPECT_TRUE(enabled(dialog, kLiveUpdate));
    for (int id : {kSelectClose, kSaveSelected, kSaveComment, kSaveAll, kComment}) {
        EXPECT_FALSE(enabled(dialog, id)) << id;
    }
    for (int id : {kLiveUpdate, kGenerateCsv}) {
        EXPECT_FALSE(qobject_cast<QCheckBox*>(dialog.item(id))->isChecked()) << id;
    }
    // The strip is all black, and a click on it changes nothing.
    clickColumn(dialog, 3);
    EXPECT_EQ(dialog.selectedSet(), 0);
    EXPECT_EQ(dialog.memoryMap().pixel(3, 0), kMapEmpty);
    // Escape still closes the dialog.
    QTest::keyClick(dialog.window(), Qt::Key_Escape);
    EXPECT_TRUE(waitUntil([&] { return !dialog.window()->isVisible(); }));
}

TEST(CaptureWindowTest, DownloadSelectCommentSaveWithCsvAndReloadGivesTheSameFlight) {
    SimRig rig;
    giveDeviceAnOffset(rig, -45);
    QTemporaryDir dir;
    CCaptureWindow dialog(nullptr, &rig.graph, &rig.surface);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(download(dialog));

    const auto flights = rig.sim().flights();
    ASSERT_EQ(flights.size(), 3u);
    data::DataSetStore& store = rig.device.store;
    EXPECT_EQ(store.setCount(), 3);
    const int used = rig.sim().usedPackets();
    EXPECT_EQ(static_cast<int>(store.packets.size()), used);
    EXPECT_TRUE(
        dialog.statusText().contains("Attempting to connect to device.\r\n"
                                     "Altimeter found! Reading settings...\r\n"
                                     "Settings read successfully.\r\n"
                                     "Reading data...\r\n"
                                     "Packet Read: 0\r\n"));
    EXPECT_TRUE(dialog.statusText().endsWith(
        QString("Data read successfully.\r\nPackets Read: %1\r\n").arg(used)));
    // The flights shown and exported from now on use the device's calibration.
    EXPECT_EQ(store.settings.adcOffset, -45);

    // Every packet has its column; sets alternate; set 0 (the current set's index) is red.
    const QImage before = dialog.memoryMap();
    const int second = flights[1].firstPacket;
    EXPECT_EQ(before.pixel(0, 0), kMapSelected);
    EXPECT_EQ(before.pixel(second, 0), kMapEvenSet);
    EXPECT_EQ(before.pixel(flights[2].firstPacket, 1), kMapOddSet);
    EXPECT_EQ(before.pixel(used - 1, 0), kMapOddSet);
    EXPECT_EQ(before.pixel(used, 0), kMapEmpty);

    // Pick the second flight by its last column, comment it.
    {
        tevusb::testing::LogCapture log;
        clickColumn(dialog, second + flights[1].packetCount - 1);
        EXPECT_EQ(dialog.selectedSet(), 1);
        EXPECT_NE(log.text().find("Size: 3\n"), std::string::npos);
    }
    EXPECT_EQ(dialog.memoryMap().pixel(second, 0), kMapSelected);
    EXPECT_EQ(dialog.memoryMap().pixel(0, 0), kMapOddSet);
    ASSERT_TRUE(enabled(dialog, kComment));
    auto* edit = qobject_cast<QPlainTextEdit*>(dialog.item(kComment));
    edit->setPlainText("Second flight: drogue late");
    ASSERT_TRUE(press(dialog, kSaveComment));
    EXPECT_EQ(store.comment(1), "Second flight: drogue late");
    // Another set and back: the edit shows each set's own comment.
    clickColumn(dialog, 0);
    EXPECT_EQ(edit->toPlainText(), "");
    clickColumn(dialog, second);
    EXPECT_EQ(edit->toPlainText(), "Second flight: drogue late");

    check(dialog, kGenerateCsv, true);
    const QString tev = dir.filePath("second.tev");
    rig.prompts.choose(tev);
    ASSERT_TRUE(press(dialog, kSaveSelected));
    const auto files = rig.prompts.files();  // a copy: the reference below must outlive it
    ASSERT_EQ(files.size(), 1u);
    const FileDialogRequest& asked = files[0].request;
    EXPECT_EQ(asked.title, "Save data set 2");
    EXPECT_EQ(asked.filterName, "TEV USB Data");
    EXPECT_EQ(asked.pattern, "*.tev");
    EXPECT_TRUE(asked.overwritePrompt);
    ASSERT_EQ(rig.prompts.boxes().size(), 1u);
    EXPECT_EQ(rig.prompts.boxes()[0].text, "Data set/s saved succesfully.");
    EXPECT_EQ(rig.prompts.boxes()[0].type, kMbIconInformation);

    // Reopened, the file holds the set, its comment and the device's settings, and its
    // CSV is the one written beside it.
    data::DataSetStore reloaded;
    ASSERT_TRUE(reloaded.loadSetFile(tev.toStdString()));
    ASSERT_EQ(reloaded.setCount(), 1);
    ASSERT_EQ(static_cast<int>(reloaded.packets.size()), flights[1].packetCount);
    for (int i = 0; i < flights[1].packetCount; ++i) {
        EXPECT_EQ(reloaded.packets[i].bytes, store.packets[second + i].bytes) << i;
    }
    EXPECT_EQ(reloaded.comment(0), "Second flight: drogue late");
    EXPECT_EQ(reloaded.settings.adcOffset, -45);
    const QString again = dir.filePath("again.csv");
    ASSERT_TRUE(reloaded.exportCsv(again.toStdString(), 0));
    const std::string csv = fileText(dir.filePath("second.csv"));
    EXPECT_FALSE(csv.empty());
    EXPECT_EQ(csv, fileText(again));
}

TEST(CaptureWindowTest, LongCommentsAreCutTo1023Characters) {
    SimRig rig;
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(download(dialog));
    clickColumn(dialog, 0);
    qobject_cast<QPlainTextEdit*>(dialog.item(kComment))->setPlainText(QString(3000, 'x'));
    ASSERT_TRUE(press(dialog, kSaveComment));
    EXPECT_EQ(rig.device.store.comment(0), std::string(1023, 'x'));
}

TEST(CaptureWindowTest, SaveAllWithCsvWritesSixFilesAndLeavesTheLastSetCurrent) {
    SimRig rig;
    QTemporaryDir dir;
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(download(dialog));
    check(dialog, kGenerateCsv, true);
    for (int k = 1; k <= 3; ++k) {
        rig.prompts.choose(dir.filePath(QString("f%1.tev").arg(k)));
    }
    ASSERT_TRUE(press(dialog, kSaveAll));
    const auto files = rig.prompts.files();
    ASSERT_EQ(files.size(), 3u);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(files[k - 1].request.title, QString("Save data set %1").arg(k));
        EXPECT_TRUE(QFile::exists(dir.filePath(QString("f%1.tev").arg(k)))) << k;
        EXPECT_TRUE(QFile::exists(dir.filePath(QString("f%1.csv").arg(k)))) << k;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 6);
    EXPECT_EQ(rig.device.store.current.setIndex, 2);
    ASSERT_EQ(rig.prompts.boxes().size(), 1u);
    EXPECT_EQ(rig.prompts.boxes()[0].text, "Data set/s saved succesfully.");
}

TEST(CaptureWindowTest, SaveAllStopsAtACancelOrAFailureAndKeepsWhatWasWritten) {
    SimRig rig;
    QTemporaryDir dir;
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(download(dialog));

    rig.prompts.choose(dir.filePath("one.tev"));
    rig.prompts.choose("");  // the user cancels the second
    ASSERT_TRUE(press(dialog, kSaveAll));
    EXPECT_EQ(rig.prompts.files().size(), 2u);
    EXPECT_TRUE(QFile::exists(dir.filePath("one.tev")));
    EXPECT_TRUE(rig.prompts.boxes().empty());

    // A file that cannot be written: message 104 with the error icon, nothing after it.
    rig.prompts.choose(dir.filePath("missing/one.tev"));
    ASSERT_TRUE(press(dialog, kSaveAll));
    EXPECT_EQ(rig.prompts.files().size(), 3u);
    ASSERT_EQ(rig.prompts.boxes().size(), 1u);
    EXPECT_TRUE(rig.prompts.boxes()[0].text.startsWith("Error saving file."));
    EXPECT_EQ(rig.prompts.boxes()[0].type, kMbIconHand);
}

TEST(CaptureWindowTest, CsvFailureShowsItsOwnMessageAndTheCsvTakesTheSetFilesName) {
    SimRig rig;
    QTemporaryDir dir;
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(download(dialog));
    clickColumn(dialog, 0);
    check(dialog, kGenerateCsv, true);

    rig.prompts.choose(dir.filePath("FLIGHT.DAT"));
    ASSERT_TRUE(press(dialog, kSaveSelected));
    EXPECT_TRUE(QFile::exists(dir.filePath("FLIGHT.DAT")));
    EXPECT_TRUE(QFile::exists(dir.filePath("FLIGHT.csv")));

    // The CSV's place is taken by a directory: the set file is written, the CSV is not.
    ASSERT_TRUE(QDir(dir.path()).mkdir("blocked.csv"));
    rig.prompts.choose(dir.filePath("blocked.tev"));
    ASSERT_TRUE(press(dialog, kSaveSelected));
    EXPECT_TRUE(QFile::exists(dir.filePath("blocked.tev")));
    const auto boxes = rig.prompts.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Data set/s saved succesfully.");
    EXPECT_TRUE(boxes[1].text.startsWith("Failed to save the CSV file."));
    EXPECT_EQ(boxes[1].type, kMbIconHand);
}

}  // namespace
}  // namespace tevusb::ui
