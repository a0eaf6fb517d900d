// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "support/dialog_fixture.h"
#include "ui/dialogs/capture_ids.h"
#include "ui/dialogs/capture_window.h"

namespace tevusb::ui {
namespace {

using namespace capture_ids;
using testing::enabled;
using testing::press;
using testing::SimRig;
using testing::waitUntil;

bool download(CCaptureWindow& dialog) {
    return press(dialog, kReadData) &&
           waitUntil([&] { return !dialog.worker().running() && enabled(dialog, kSaveAll); });
}

void pickFirstSet(CCaptureWindow& dialog) {
    const double columnWidth = (dialog.item(kMap)->width() + 2) / 128.0;
    QTest::mouseClick(dialog.item(kMap), Qt::LeftButton, {},
                      QPoint(static_cast<int>(0.25 * columnWidth), 3));
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(CaptureSavingTest, ANameTypedWithoutExtensionIsSavedAsTevWithTheCsvBesideIt) {
    SimRig rig;
    QTemporaryDir dir;
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(download(dialog));
    pickFirstSet(dialog);
    qobject_cast<QCheckBox*>(dialog.item(kGenerateCsv))->setChecked(true);

    rig.prompts.choose(dir.filePath("first"));
    ASSERT_TRUE(press(dialog, kSaveSelected));
    ASSERT_EQ(rig.prompts.files().size(), 1u);
    const FileDialogRequest request = rig.prompts.files()[0].request;
    EXPECT_EQ(request.defaultSuffix, "tev");
    EXPECT_EQ(request.pattern, "*.tev");
    EXPECT_TRUE(QFile::exists(dir.filePath("first.tev")));
    EXPECT_TRUE(QFile::exists(dir.filePath("first.csv")));
    EXPECT_FALSE(QFile::exists(dir.filePath("first")));
    EXPECT_FALSE(QFile::exists(dir.filePath("first.tev.csv")));
    ASSERT_EQ(rig.prompts.boxes().size(), 1u);
    EXPECT_EQ(rig.prompts.boxes()[0].text, "Data set/s saved succesfully.");
}

TEST(CaptureSavingTest, TheAddedExtensionNeverReplacesAFileWithoutAsking) {
    SimRig rig;
    QTemporaryDir dir;
    {
        QFile old(dir.filePath("kept.tev"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("older flight");
    }
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(download(dialog));
    pickFirstSet(dialog);

    rig.prompts.choose(dir.filePath("kept"));
    rig.prompts.answer(MessageResult::No);
    ASSERT_TRUE(press(dialog, kSaveSelected));
    ASSERT_EQ(rig.prompts.boxes().size(), 1u);
    EXPECT_TRUE(rig.prompts.boxes()[0].text.startsWith("kept.tev already exists."));
    EXPECT_EQ(contents(dir.filePath("kept.tev")), "older flight");

    rig.prompts.choose(dir.filePath("kept"));
    rig.prompts.answer(MessageResult::Yes);
    ASSERT_TRUE(press(dialog, kSaveSelected));
    EXPECT_NE(contents(dir.filePath("kept.tev")), "older flight");
    EXPECT_EQ(rig.prompts.boxes().back().text, "Data set/s saved succesfully.");
}

TEST(CaptureSavingTest, ClosingWhileClearDeviceRunsLeavesTheShownFlightAlone) {
    SimRig rig;
    CCaptureWindow dialog(nullptr, nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(download(dialog));
    pickFirstSet(dialog);
    rig.graph.ShowSet(0);
    const std::size_t shown = rig.device.store.current.adcCounts.size();
    const std::size_t packets = rig.device.store.packets.size();
    ASSERT_GT(shown, 0u);

    // The device keeps the clear waiting for an answer while the dialog is closed.
    rig.sim().injectNoReplyToNextCommand();
    rig.prompts.answer(MessageResult::Yes);
    ASSERT_TRUE(press(dialog, kClearDevice));
    ASSERT_TRUE(dialog.worker().running());
    dialog.sendMessage({Message::Close, 0, 0, {}});
    ASSERT_TRUE(waitUntil([&] { return !dialog.window()->isVisible(); }));
    EXPECT_FALSE(dialog.worker().running());
    EXPECT_EQ(rig.device.store.current.adcCounts.size(), shown);
    EXPECT_EQ(rig.device.store.packets.size(), packets);
}

}  // namespace
}  // namespace tevusb::ui
