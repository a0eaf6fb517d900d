// SPDX-License-Identifier: MIT
#include <QRegularExpression>
#include <QTest>
#include <cmath>

#include "data/altitude_converter.h"
#include "device/device_tasks.h"
#include "settings/device_settings.h"
#include "support/dialog_fixture.h"
#include "support/screenshot.h"
#include "ui/dialogs/chip_load_ids.h"
#include "ui/dialogs/chip_load_window.h"
#include "ui/message_box.h"

namespace tevusb::ui::testing {
namespace {

using namespace chip_load_ids;

const QString kOpening = QStringLiteral(
    "Warning!\r\nWriting settings or calibrating will clear the current data on the "
    "device!\r\n\r\n");

// A user who, at each warning box, notes how far the device had got.
class WatchingPrompts : public ScriptedPrompts {
  public:
    std::function<void()> onBox;
    MessageResult messageBox(QWidget* owner, const QString& text, const QString& caption,
                             unsigned type) override {
        if (onBox) {
            onBox();
        }
        return ScriptedPrompts::messageBox(owner, text, caption, type);
    }
};

class ChipLoadTest : public DialogFixture {
  protected:
    void TearDown() override {
        m_dialog.reset();
        DialogFixture::TearDown();
    }

    void open(const device::sim::SimConfig& config = instant()) {
        m_dialog.reset();  // it still uses the device of the bus it was opened on
        makeBus(config);
        m_dialog = std::make_unique<CChipLoadWindow>(nullptr, nullptr);
        m_dialog->setDevice(m_device.get());
        ASSERT_TRUE(m_dialog->create(nullptr));
        m_dialog->window()->show();
        waitUntil([] { return true; });
    }
    QWidget* item(int id) { return m_dialog->item(id); }
    QString status() { return m_dialog->statusText(); }
    // Clicks `id` and waits until the worker it started has ended on both threads.
    void run(int id) {
        click(item(id));
        ASSERT_TRUE(waitUntil([this] { return !m_dialog->busy(); }));
    }
    settings::DeviceSettings deviceRecord() {
        settings::DeviceSettings s;
        s.image = sim().settingsImage();
        EXPECT_TRUE(s.parse());
        return s;
    }
    void putOnDevice(settings::DeviceSettings s) {
        s.build();
        sim().setSettingsImage(s.image);
    }

    std::unique_ptr<CChipLoadWindow> m_dialog;
};

TEST_F(ChipLoadTest, WithoutDeviceShowsDefaultsWarningAndNothingToStart) {
    auto config = instant();
    config.attached = false;
    open(config);
    EXPECT_EQ(status(), kOpening + "Device not found.\r\n");
    // Line A at apogee, Line B at 150 m, inhibit 2 s.
    EXPECT_TRUE(isChecked(item(kApogeeA)));
    EXPECT_FALSE(isChecked(item(kDisabledA)));
    EXPECT_TRUE(isChecked(item(kAltModeB)));
    EXPECT_FALSE(isChecked(item(kDisabledB)));
    EXPECT_EQ(textOf(item(kAltB)), "150");
    EXPECT_EQ(textOf(item(kTimeB)), "15");
    EXPECT_TRUE(isEnabled(item(kAltB)));
    EXPECT_FALSE(isEnabled(item(kTimeB)));
    EXPECT_FALSE(isEnabled(item(kTimeA)));
    EXPECT_FALSE(isEnabled(item(kAltA)));
    EXPECT_EQ(textOf(item(kInhibit)), "2");
    for (int id : {kRead, kWrite, kCalibrate}) {
        EXPECT_FALSE(isEnabled(item(id))) << id;
    }
    EXPECT_TRUE(isEnabled(item(kClose)));
}

TEST_F(ChipLoadTest, ReadShowsTheDeviceSettingsAndEmptiesTheProgramsFlights) {
    open();
    EXPECT_EQ(status(),
              kOpening + "Device Connected.\r\nCurrent device firmware version: 1.50\r\n");
    settings::DeviceSettings s;
    s.lineAMode = 1;
    s.lineAValue = 155;
    s.lineBMode = 3;
    s.lineBValue = 420;
    s.inhibitTime = 35;
    putOnDevice(s);
    m_device->store.packets.resize(3);

    run(kRead);
    EXPECT_TRUE(status().endsWith(
        "Attempting to connect to device.\r\nAltimeter found! Reading settings...\r\n"
        "Settings read successfully.\r\n"));
    EXPECT_TRUE(m_device->store.packets.empty());
    EXPECT_TRUE(isChecked(item(kTimeModeA)));
    EXPECT_FALSE(isChecked(item(kDisabledA)) || isChecked(item(kAltModeA)) ||
                 isChecked(item(kApogeeA)));
    EXPECT_EQ(textOf(item(kTimeA)), "15");  // whole seconds
    EXPECT_EQ(textOf(item(kAltA)), "155");
    EXPECT_TRUE(isEnabled(item(kTimeA)));
    EXPECT_FALSE(isEnabled(item(kAltA)));
    EXPECT_TRUE(isChecked(item(kAltModeB)));
    EXPECT_EQ(textOf(item(kAltB)), "420");
    EXPECT_TRUE(isEnabled(item(kAltB)));
    EXPECT_EQ(textOf(item(kInhibit)), "3");
    EXPECT_EQ(m_device->store.settings.lineAValue, 155);
    for (int id : {kRead, kWrite, kCalibrate}) {
        EXPECT_TRUE(isEnabled(item(id))) << id;
    }
}

TEST_F(ChipLoadTest, ChecksumFailureShowsAndKeepsTheDefaults) {
    open();
    settings::DeviceSettings s;
    s.lineAMode = 0;
    s.lineBMode = 1;
    s.lineBValue = 90;
    s.inhibitTime = 70;
    putOnDevice(s);
    sim().corruptSettingsChecksum();

    run(kRead);
    EXPECT_TRUE(
        status().endsWith("Altimeter found! Reading settings...\r\n"
                          "Checksum failed. The device settings are invalid.\r\n"
                          "Displaying default settings.\r\n"));
    EXPECT_TRUE(isChecked(item(kApogeeA)));
    EXPECT_TRUE(isChecked(item(kAltModeB)));
    EXPECT_FALSE(isChecked(item(kTimeModeB)));
    EXPECT_EQ(textOf(item(kAltB)), "150");
    EXPECT_EQ(textOf(item(kInhibit)), "2");
    const settings::DeviceSettings defaults;
    EXPECT_EQ(m_device->store.settings.image, defaults.image);
    EXPECT_EQ(m_device->store.settings.lineBMode, defaults.lineBMode);
    EXPECT_TRUE(isEnabled(item(kWrite)));
}

TEST_F(ChipLoadTest, StoringConvertsFieldsAndWarnsOnlyPastTheLimits) {
    open();
    settings::DeviceSettings s;
    s.lineAMode = 1;
    s.lineAValue = 155;
    m_dialog->displaySettings(s);
    EXPECT_EQ(textOf(item(kTimeA)), "15");
    EXPECT_EQ(textOf(item(kAltA)), "155");

    setTextOf(item(kInhibit), "20");
    m_dialog->storeSettings();
    const settings::DeviceSettings& stored = m_device->store.settings;
    EXPECT_EQ(stored.lineAMode, 1);
    EXPECT_EQ(stored.lineAValue, 150);  // seconds back to tenths
    EXPECT_EQ(stored.inhibitTime, 200);
    EXPECT_TRUE(m_prompts.boxes().empty());

    setTextOf(item(kInhibit), "25");
    m_prompts.answer(MessageResult::Yes);
    EXPECT_TRUE(m_dialog->storeSettings());
    EXPECT_EQ(stored.inhibitTime, 250);
    ASSERT_EQ(m_prompts.boxes().size(), 1U);
    EXPECT_EQ(m_prompts.boxes()[0].text, messageText(111));
    EXPECT_EQ(m_prompts.boxes()[0].type, kMbYesNo | kMbIconExclamation);

    // Apogee keeps the stored value; an empty field counts as 0.
    click(item(kApogeeA));
    setTextOf(item(kTimeA), "");
    setTextOf(item(kInhibit), "");
    m_dialog->storeSettings();
    EXPECT_EQ(stored.lineAMode, 2);
    EXPECT_EQ(stored.lineAValue, 150);
    EXPECT_EQ(stored.inhibitTime, 0);
    EXPECT_EQ(m_prompts.boxes().size(), 1U);
}

TEST_F(ChipLoadTest, WriteAsksBothWarningsOnTheWindowThreadBeforeWritingAndWrites) {
    WatchingPrompts prompts;
    setUserPrompts(&prompts);
    open();
    const int writesBefore = sim().settingsWrites();
    std::vector<int> writesAtBox;
    prompts.onBox = [&] { writesAtBox.push_back(sim().settingsWrites()); };

    click(item(kDisabledA));  // Line A disabled
    click(item(kTimeModeB));  // Line B by time
    setTextOf(item(kTimeB), "15");
    setTextOf(item(kInhibit), "25");
    EXPECT_GT(sim().usedPackets(), 0);
    // Both warnings confirmed; then the flights on the device, which no library keeps.
    prompts.answer(MessageResult::Yes);
    prompts.answer(MessageResult::Yes);
    prompts.pick(1);
    run(kWrite);

    const auto boxes = prompts.boxes();
    ASSERT_EQ(boxes.size(), 3U);
    EXPECT_EQ(boxes[0].text, messageText(111));
    EXPECT_EQ(boxes[1].text, messageText(112));
    EXPECT_EQ(boxes[2].buttons.size(), 3);
    EXPECT_TRUE(boxes[0].onWindowThread && boxes[1].onWindowThread);
    EXPECT_EQ(writesAtBox, (std::vector<int>{writesBefore, writesBefore}));

    EXPECT_TRUE(
        status().endsWith("Attempting to connect to device.\r\n"
                          "Altimeter found! Writing settings...\r\n"
                          "Settings written successfully.\r\n"));
    const settings::DeviceSettings written = deviceRecord();
    EXPECT_EQ(written.lineAMode, 0);
    EXPECT_EQ(written.lineAValue, 150);  // kept while disabled
    EXPECT_EQ(written.lineBMode, 1);
    EXPECT_EQ(written.lineBValue, 150);
    EXPECT_EQ(written.inhibitTime, 250);
    EXPECT_EQ(sim().usedPackets(), 0);  // the device's memory was cleared first
    EXPECT_TRUE(isChecked(item(kDisabledA)));
    EXPECT_TRUE(isChecked(item(kTimeModeB)));
    EXPECT_EQ(textOf(item(kTimeB)), "15");
    for (int id : {kRead, kWrite, kCalibrate}) {
        EXPECT_TRUE(isEnabled(item(id))) << id;
    }
    setUserPrompts(&m_prompts);
}

TEST_F(ChipLoadTest, WriteWithTheLinkGoneLeavesOnlyReadEnabled) {
    open();
    m_device->link.close();
    m_dialog->sendMessage({Message::Command, kWrite, 0, {}});
    ASSERT_TRUE(waitUntil([this] { return !m_dialog->busy(); }));
    EXPECT_TRUE(status().endsWith(QString::fromLatin1(device::kAltimeterNotFound)));
    EXPECT_TRUE(isEnabled(item(kRead)));
    EXPECT_FALSE(isEnabled(item(kWrite)));
    EXPECT_FALSE(isEnabled(item(kCalibrate)));
    EXPECT_EQ(sim().settingsWrites(), 0);
}

TEST_F(ChipLoadTest, WriteToAnUnpluggedDeviceFailsThenReportsTheRemoval) {
    open();
    sim().detach();
    run(kWrite);  // before the removal could reach the dialog
    ASSERT_TRUE(waitUntil(
        [this] { return status().contains(QStringLiteral("Device disconnected.\r\n")); }));
    const QString text = status();
    EXPECT_LT(text.indexOf(QStringLiteral("Failed to clear data.\r\n")),
              text.indexOf(QStringLiteral("Device disconnected.\r\n")));
    EXPECT_FALSE(text.contains(QStringLiteral("Settings written successfully.")));
    EXPECT_FALSE(m_device->link.isOpen());
    for (int id : {kRead, kWrite, kCalibrate}) {
        EXPECT_FALSE(isEnabled(item(id))) << id;
    }
}

TEST_F(ChipLoadTest, CalibrateWithoutGroundAltitudeAsksForItAndStartsNothing) {
    open();
    const int clears = sim().clearCount();
    click(item(kCalibrate));
    ASSERT_EQ(m_prompts.boxes().size(), 1U);
    EXPECT_EQ(m_prompts.boxes()[0].text, messageText(110));
    EXPECT_EQ(m_prompts.boxes()[0].type, kMbOk | kMbIconHand);
    EXPECT_FALSE(m_dialog->busy());
    EXPECT_FALSE(m_dialog->worker().started());
    EXPECT_EQ(sim().clearCount(), clears);
    EXPECT_TRUE(isEnabled(item(kCalibrate)));
}

TEST_F(ChipLoadTest, CalibrateWritesTheOffsetThatMakesTheDeviceReadTheGroundAltitude) {
    auto config = instant();
    config.ambientAltitude = 420.0;
    config.sensorBias = 30;
    open(config);
    click(item(kTimeModeB));  // the controls are written along with the offset
    setTextOf(item(kTimeB), "7");
    setTextOf(item(kGround), "420");
    m_prompts.pick(1);  // erase the flights no library keeps
    run(kCalibrate);

    EXPECT_EQ(m_dialog->groundAltitude(), 420);
    ASSERT_EQ(m_prompts.boxes().size(), 1U);
    EXPECT_EQ(m_prompts.boxes()[0].buttons.size(), 3);
    const QString text = status();
    ASSERT_TRUE(text.endsWith("Settings written successfully.\r\nCalibration complete.\r\n"))
        << text.toStdString();
    const auto number = [&](const char* label) {
        const auto match =
            QRegularExpression(QString::fromLatin1(label) + ": (-?\\d+)\r\n").match(text);
        EXPECT_TRUE(match.hasMatch()) << label;
        return match.captured(1).toInt();
    };
    const int real = number("ADC Real");
    const int onDevice = number("ADC Device");
    EXPECT_EQ(number("ADC Offset"), real - onDevice);
    EXPECT_EQ(real, data::AltitudeConverter(0).countForAltitude(420.0));

    const settings::DeviceSettings written = deviceRecord();
    EXPECT_EQ(written.adcOffset, real - onDevice);
    EXPECT_NEAR(written.adcOffset, -30, 4);
    EXPECT_NEAR(data::AltitudeConverter(written.adcOffset).altitude(onDevice), 420.0, 1.0);
    EXPECT_EQ(written.lineBMode, 1);
    EXPECT_EQ(written.lineBValue, 70);
    EXPECT_EQ(m_device->store.settings.adcOffset, written.adcOffset);
    EXPECT_TRUE(tevusb::testing::saveShot(*m_dialog->window(), "program_chip_calibrated.png"));
    for (int id : {kRead, kWrite, kCalibrate}) {
        EXPECT_TRUE(isEnabled(item(id))) << id;
    }
}

TEST_F(ChipLoadTest, EnterAndEscapeLeaveTheDialogOpenAndCloseEndsIt) {
    open();
    QTest::keyClick(m_dialog->window(), Qt::Key_Escape);
    QTest::keyClick(m_dialog->window(), Qt::Key_Return);
    EXPECT_TRUE(m_dialog->window()->isVisible());
    click(item(kClose));
    EXPECT_FALSE(m_dialog->window()->isVisible());
    EXPECT_TRUE(m_log.contains("Thread has exited.\n"));
}

}  // namespace
}  // namespace tevusb::ui::testing
