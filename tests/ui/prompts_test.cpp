// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QTest>
#include <thread>

#include "test_dialog.h"
#include "ui/message_box.h"
#include "ui/qt_prompts.h"
#include "ui/scripted_prompts.h"

namespace tevusb::ui {
namespace {

using testing::TestDialog;
using testing::waitUntil;

// Installs a scripted user for one test and restores the previous service afterwards.
class PromptsTest : public ::testing::Test {
  protected:
    void SetUp() override { m_previous = setUserPrompts(&prompts); }
    void TearDown() override { EXPECT_EQ(setUserPrompts(m_previous), &prompts); }
    ScriptedPrompts prompts;

  private:
    UserPrompts* m_previous = nullptr;
};

DialogTemplate plainTemplate() {
    DialogTemplate t;
    t.id = 504;
    t.clientWidth = 100;
    t.clientHeight = 50;
    return t;
}

TEST_F(PromptsTest, FreeStandingBoxShowsTheStringWithTheProgramCaption) {
    QWidget owner;
    prompts.answer(MessageResult::Yes);
    EXPECT_EQ(messageBox(&owner, 107, kMbYesNo | kMbIconExclamation), MessageResult::Yes);
    // Unscripted, a Yes/No question is answered No, so nothing is confirmed by accident.
    EXPECT_EQ(messageBox(&owner, 107, kMbYesNo | kMbIconExclamation), MessageResult::No);
    const auto boxes = prompts.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Are you sure?");
    EXPECT_EQ(boxes[0].caption, "TEV USB 1.50");
    EXPECT_EQ(boxes[0].type, 0x34u);
    EXPECT_EQ(boxes[0].owner, &owner);
}

TEST_F(PromptsTest, DialogErrorsAndWarningsCarryTheirIconsAndOwner) {
    TestDialog dialog(plainTemplate(), nullptr);
    ASSERT_TRUE(dialog.create(nullptr));
    dialog.showError(110);
    dialog.showWarning(111);
    const auto boxes = prompts.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].type, 16u);
    EXPECT_EQ(boxes[0].text, "Please enter your aproximate MSL altitude and try again.");
    EXPECT_EQ(boxes[1].type, 48u);
    EXPECT_TRUE(boxes[1].text.startsWith("The inhibit setting is very large."));
    EXPECT_EQ(boxes[0].owner, dialog.window());
    EXPECT_EQ(boxes[1].owner, dialog.window());
}

TEST_F(PromptsTest, AWorkersQuestionIsAskedOnTheWindowThreadAndAnswered) {
    TestDialog dialog(plainTemplate(), nullptr);
    ASSERT_TRUE(dialog.create(nullptr));
    prompts.answer(MessageResult::Ok);
    std::atomic<bool> answered{false};
    MessageResult result = MessageResult::Cancel;
    std::thread worker([&] {
        result = dialog.showWarning(112);
        answered = true;
    });
    EXPECT_TRUE(waitUntil([&] { return answered.load(); }));
    worker.join();
    EXPECT_EQ(result, MessageResult::Ok);
    const auto boxes = prompts.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].onWindowThread);
}

TEST_F(PromptsTest, FileDialogsGoThroughTheServiceAndCancelIsEmpty) {
    prompts.choose("/tmp/flight.tev");
    FileDialogRequest request;
    request.title = "Load data set";
    request.filterName = "TEV USB Data";
    request.pattern = "*.tev";
    EXPECT_EQ(userPrompts().fileDialog(nullptr, request), "/tmp/flight.tev");
    EXPECT_EQ(userPrompts().fileDialog(nullptr, request), QString());
    ASSERT_EQ(prompts.files().size(), 2u);
    EXPECT_EQ(prompts.files()[0].request.title, "Load data set");
}

TEST(MessageTextTest, LineEndsBecomeNewlinesAndUnknownIdsAreEmpty) {
    EXPECT_EQ(messageText(114),
              "Updating firmware is a delicate process.\nCanceling may cause your device to fail.");
    EXPECT_EQ(messageText(4242), QString());
    EXPECT_EQ(messageText(103), "Data set/s saved succesfully.");
}

TEST(QtPromptsTest, BoxesGetTheIconAndButtonsOfTheirType) {
    struct Case {
        unsigned type;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };
    const Case cases[] = {
        {kMbIconHand, QMessageBox::Critical, QMessageBox::Ok},
        {kMbIconExclamation, QMessageBox::Warning, QMessageBox::Ok},
        {kMbIconInformation, QMessageBox::Information, QMessageBox::Ok},
        {kMbYesNo | kMbIconExclamation, QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No},
    };
    for (const Case& c : cases) {
        auto box = QtPrompts::buildMessageBox(nullptr, "text", "TEV USB 1.50", c.type);
        EXPECT_EQ(box->icon(), c.icon) << c.type;
        EXPECT_EQ(box->standardButtons(), c.buttons) << c.type;
        EXPECT_EQ(box->windowTitle(), "TEV USB 1.50");
        EXPECT_EQ(box->text(), "text");
    }
}

TEST(QtPromptsTest, EnterAndEscapeAnswerNoToEveryYesNoQuestion) {
    // The questions before firing, clearing and writing: Enter must never say Yes.
    for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        auto box = QtPrompts::buildMessageBox(nullptr, "Are you sure?", "TEV USB 1.50",
                                              kMbYesNo | kMbIconExclamation);
        EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()),
                  box->button(QMessageBox::No));
        EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::No));
        box->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
        QTest::keyClick(box.get(), static_cast<Qt::Key>(key));
        EXPECT_EQ(box->clickedButton(), box->button(QMessageBox::No)) << key;
    }
}

TEST(QtPromptsTest, AChoiceKeepsItsButtonsInOrderAndEnterTakesTheSafeOne) {
    const QStringList buttons{"Download them first", "Erase them", "Cancel"};
    auto box = QtPrompts::buildChoiceBox(nullptr, "question", "TEV USB 1.50", buttons, 2, 2);
    ASSERT_EQ(box->buttons().size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(box->buttons()[i]->text(), buttons[i]);
    }
    EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->buttons()[2]);
    EXPECT_EQ(box->escapeButton(), box->buttons()[2]);
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    QTest::keyClick(box.get(), Qt::Key_Return);
    EXPECT_EQ(box->clickedButton(), box->buttons()[2]);
}

TEST_F(PromptsTest, AWorkersChoiceIsAskedOnTheWindowThreadAndUnansweredIsTheCancel) {
    QWidget owner;
    prompts.pick(1);
    int first = -1;
    int second = -1;
    std::thread worker([&] {
        first = chooseAnswer(&owner, "question", {"a", "b", "c"}, 2, 2);
        second = chooseAnswer(&owner, "again", {"a", "b", "c"}, 0, 2);
    });
    ASSERT_TRUE(waitUntil([&] { return prompts.boxes().size() == 2; }));
    worker.join();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    const auto boxes = prompts.boxes();
    EXPECT_TRUE(boxes[0].onWindowThread);
    EXPECT_EQ(boxes[0].caption, "TEV USB 1.50");
    EXPECT_EQ(boxes[0].buttons, (QStringList{"a", "b", "c"}));
    EXPECT_EQ(boxes[1].defaultIndex, 0);
}

TEST(QtPromptsTest, FileDialogsAreNonNativeWithTheRequestedFilterAndChecks) {
    FileDialogRequest save;
    save.mode = FileDialogRequest::Mode::Save;
    save.title = "Export to CSV";
    save.filterName = "Excel CSV";
    save.pattern = "*.csv";
    save.defaultSuffix = "csv";
    save.overwritePrompt = true;
    auto dialog = QtPrompts::buildFileDialog(nullptr, save);
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->nameFilters(), QStringList{"Excel CSV (*.csv)"});
    EXPECT_EQ(dialog->defaultSuffix(), "csv");
    EXPECT_EQ(dialog->windowTitle(), "Export to CSV");

    FileDialogRequest open;
    open.title = "Load Firmware file";
    open.filterName = "Firmware Code";
    open.pattern = "*.dat";
    open.mustExist = true;
    auto opener = QtPrompts::buildFileDialog(nullptr, open);
    EXPECT_EQ(opener->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(opener->fileMode(), QFileDialog::ExistingFile);
}

}  // namespace
}  // namespace tevusb::ui
