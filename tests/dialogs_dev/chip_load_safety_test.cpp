// SPDX-License-Identifier: MIT
// Device Settings never writes what the flyer did not mean, and never erases a flight
// that is not kept.
#include <QLineEdit>

#include "support/dialog_fixture.h"
#include "support/scoped_library.h"
#include "support/screenshot.h"
#include "ui/dialogs/chip_load_ids.h"
#include "ui/dialogs/chip_load_window.h"
#include "ui/message_box.h"
#include "ui/qt_prompts.h"

namespace tevusb::ui::testing {
namespace {

using namespace chip_load_ids;

constexpr int kEraseAnyway = 1;
constexpr int kDownloadFirst = 0;

class ChipLoadSafetyTest : public DialogFixture {
  protected:
    void SetUp() override {
        DialogFixture::SetUp();
        makeBus(instant());
        m_dialog = std::make_unique<CChipLoadWindow>(nullptr, nullptr);
        m_dialog->setDevice(m_device.get());
        ASSERT_TRUE(m_dialog->create(nullptr));
        m_dialog->window()->show();
        waitUntil([] { return true; });
        m_packets = sim().usedPackets();
        ASSERT_GT(m_packets, 0);
    }
    void TearDown() override {
        m_dialog.reset();
        DialogFixture::TearDown();
    }
    QWidget* item(int id) { return m_dialog->item(id); }
    void run(int id) {
        click(item(id));
        ASSERT_TRUE(waitUntil([this] { return !m_dialog->busy(); }));
    }
    std::vector<data::MemoryPacket> memory() {
        std::vector<data::MemoryPacket> packets;
        for (int i = 0; i < sim().usedPackets(); ++i) {
            packets.push_back(sim().packet(i));
        }
        return packets;
    }
    // Nothing reached the device: no write, no clear, every flight still there.
    void expectDeviceUntouched() {
        EXPECT_EQ(sim().settingsWrites(), 0);
        EXPECT_EQ(sim().clearCount(), 0);
        EXPECT_EQ(sim().usedPackets(), m_packets);
    }
    std::vector<ScriptedPrompts::Box> choices() {
        std::vector<ScriptedPrompts::Box> found;
        for (const auto& box : m_prompts.boxes()) {
            if (!box.buttons.isEmpty()) {
                found.push_back(box);
            }
        }
        return found;
    }

    std::unique_ptr<CChipLoadWindow> m_dialog;
    int m_packets = 0;
};

TEST_F(ChipLoadSafetyTest, AValueItsFieldCannotHoldIsRefusedAndNothingIsTouched) {
    struct Case {
        int mode;  // radio chosen first (0: none)
        int field;
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {kAltModeB, kAltB, "99999",
         "Line B altitude: 99999 m is out of range; enter a whole "
         "number from 0 to 65535 m."},
        {kAltModeB, kAltB, "65536", "Line B altitude: 65536 m is out of range"},
        {kAltModeA, kAltA, "-1", "Line A altitude: -1 m is out of range"},
        {kTimeModeA, kTimeA, "6554",
         "Line A time: 6554 s is out of range; enter a whole number "
         "from 0 to 6553 s."},
        {kTimeModeB, kTimeB, "ten", "Line B time: \"ten\" is not a number"},
        {kTimeModeB, kTimeB, "", "Line B time: no value"},
        {0, kInhibit, "2.5", "Inhibit time: 2.5 s is not a whole number"},
        {0, kInhibit, "70000", "Inhibit time: 70000 s is out of range"},
    };
    for (const Case& c : cases) {
        if (c.mode != 0) {
            click(item(c.mode));
        }
        setTextOf(item(c.field), QString::fromLatin1(c.text));
        // The program's own copy of the flights stays too: nothing has begun.
        m_device->store.packets.assign(3, data::MemoryPacket{});
        const auto before = m_prompts.boxes().size();
        click(item(kWrite));
        ASSERT_EQ(m_prompts.boxes().size(), before + 1) << c.text;
        const auto box = m_prompts.boxes().back();
        EXPECT_TRUE(box.text.startsWith(QString::fromLatin1(c.says))) << box.text.toStdString();
        EXPECT_EQ(box.type, kMbOk | kMbIconHand);
        EXPECT_FALSE(m_dialog->busy());
        EXPECT_EQ(m_device->store.packets.size(), 3U);
        expectDeviceUntouched();
        setTextOf(item(c.field), QStringLiteral("5"));
    }
    // A disabled field is not read: Line A in Apogee mode ignores the nonsense in it.
    click(item(kApogeeA));
    setTextOf(item(kAltA), QStringLiteral("nonsense"));
    m_prompts.pick(kEraseAnyway);
    run(kWrite);
    EXPECT_EQ(sim().settingsWrites(), 1);
}

TEST_F(ChipLoadSafetyTest, AGroundAltitudeTheSensorCannotReadIsRefusedBeforeCalibrating) {
    setTextOf(item(kGround), QStringLiteral("99999"));
    click(item(kCalibrate));
    ASSERT_EQ(m_prompts.boxes().size(), 1U);
    EXPECT_TRUE(m_prompts.boxes()[0].text.startsWith("Ground altitude: 99999 m is out of range"));
    EXPECT_FALSE(m_dialog->worker().started());
    expectDeviceUntouched();
}

TEST_F(ChipLoadSafetyTest, AWarningAnsweredNoWritesNothingAndKeepsTheRecord) {
    const settings::DeviceSettings before = m_device->store.settings;
    setTextOf(item(kInhibit), QStringLiteral("25"));  // the designed inhibit warning
    run(kWrite);                                      // unanswered: No
    ASSERT_EQ(m_prompts.boxes().size(), 1U);
    EXPECT_EQ(m_prompts.boxes()[0].text, messageText(111));
    EXPECT_EQ(m_prompts.boxes()[0].type, kMbYesNo | kMbIconExclamation);
    expectDeviceUntouched();
    EXPECT_EQ(m_device->store.settings.inhibitTime, before.inhibitTime);

    // A main at 10 m is asked about after the designed warnings, and No stops it too.
    setTextOf(item(kInhibit), QStringLiteral("2"));
    click(item(kAltModeB));
    setTextOf(item(kAltB), QStringLiteral("10"));
    run(kWrite);
    ASSERT_EQ(m_prompts.boxes().size(), 2U);
    EXPECT_TRUE(m_prompts.boxes()[1].text.startsWith("Line B fires at 10 m above the launch site"))
        << m_prompts.boxes()[1].text.toStdString();
    EXPECT_TRUE(m_prompts.boxes()[1].text.endsWith("Write the settings anyway?"));
    expectDeviceUntouched();

    m_prompts.answer(MessageResult::Yes);
    m_prompts.pick(kEraseAnyway);
    run(kWrite);
    EXPECT_EQ(sim().settingsWrites(), 1);
}

TEST_F(ChipLoadSafetyTest, FlightsAllInTheLibraryAreErasedWithoutAQuestion) {
    tevusb::testing::ScopedLibrary library;
    ASSERT_TRUE(library.keep(memory()));
    run(kWrite);
    EXPECT_TRUE(choices().empty());
    EXPECT_EQ(sim().settingsWrites(), 1);
    EXPECT_EQ(sim().usedPackets(), 0);
    EXPECT_TRUE(m_dialog->statusText().endsWith("Settings written successfully.\r\n"));
}

TEST_F(ChipLoadSafetyTest, AFlightNotInTheLibraryIsAskedAboutAndCancelKeepsIt) {
    tevusb::testing::ScopedLibrary library;
    auto kept = memory();
    kept.pop_back();  // the last flight's last packet: that set differs from the one on the device
    ASSERT_TRUE(library.keep(kept));
    const QString before = m_dialog->statusText();
    run(kWrite);
    const auto asked = choices();
    ASSERT_EQ(asked.size(), 1U);
    EXPECT_TRUE(asked[0].text.startsWith(
        "The altimeter holds 1 flight (set 3) that is not in the flight library."))
        << asked[0].text.toStdString();
    EXPECT_EQ(asked[0].buttons, (QStringList{"Download them first", "Erase them", "Cancel"}));
    EXPECT_EQ(asked[0].defaultIndex, 2);
    EXPECT_EQ(asked[0].cancelIndex, 2);
    EXPECT_TRUE(asked[0].onWindowThread);
    expectDeviceUntouched();
    EXPECT_EQ(m_dialog->statusText(), before);  // not a designed step had begun
    EXPECT_TRUE(isEnabled(item(kWrite)));
    // The question as the flyer sees it.
    auto box = QtPrompts::buildChoiceBox(m_dialog->window(), asked[0].text, asked[0].caption,
                                         asked[0].buttons, 2, 2);
    box->show();
    EXPECT_TRUE(tevusb::testing::saveShot(*box, "erase_question.png"));
}

TEST_F(ChipLoadSafetyTest, DownloadThemFirstKeepsEveryFlightThenWrites) {
    tevusb::testing::ScopedLibrary library;
    m_prompts.pick(kDownloadFirst);
    run(kWrite);
    ASSERT_EQ(choices().size(), 1U);
    EXPECT_EQ(library.flightCount(), 3U);
    const QString text = m_dialog->statusText();
    EXPECT_TRUE(text.contains("Saved 3 flights to the flight library")) << text.toStdString();
    EXPECT_LT(text.indexOf("Saved 3 flights"), text.indexOf("Attempting to connect to device."));
    EXPECT_EQ(sim().settingsWrites(), 1);
    EXPECT_EQ(sim().usedPackets(), 0);
}

TEST_F(ChipLoadSafetyTest, ALibraryThatCannotBeOpenedCountsEveryFlightAsNotKept) {
    tevusb::testing::ScopedLibrary library;
    tevusb::testing::writeAll(library.folder() / "index.sqlite", "not a database at all");
    run(kWrite);
    const auto asked = choices();
    ASSERT_EQ(asked.size(), 1U);
    EXPECT_TRUE(asked[0].text.startsWith("The flight library cannot be read ("))
        << asked[0].text.toStdString();
    EXPECT_TRUE(asked[0].text.contains("none of the altimeter's 3 flights (sets 1, 2 and 3)"));
    expectDeviceUntouched();

    // Asked to download first into a library that cannot take them: nothing is erased.
    m_prompts.pick(kDownloadFirst);
    run(kWrite);
    EXPECT_TRUE(m_dialog->statusText().endsWith("Nothing was erased.\r\n"))
        << m_dialog->statusText().toStdString();
    expectDeviceUntouched();

    m_prompts.pick(kEraseAnyway);
    run(kWrite);
    EXPECT_EQ(sim().settingsWrites(), 1);
}

TEST_F(ChipLoadSafetyTest, AnUnplugWhileTheMemoryIsCheckedErasesNothing) {
    sim().injectUnplugAtReport(40);
    run(kWrite);
    EXPECT_TRUE(choices().empty());
    EXPECT_TRUE(m_dialog->statusText().contains(
        "Could not read the altimeter's memory to check it for flights not yet in the flight "
        "library. Nothing was erased.\r\n"))
        << m_dialog->statusText().toStdString();
    EXPECT_FALSE(m_dialog->statusText().contains("Attempting to connect to device."));
    EXPECT_EQ(sim().settingsWrites(), 0);
    EXPECT_EQ(sim().clearCount(), 0);
    sim().attach();
    EXPECT_EQ(sim().usedPackets(), m_packets);
}

TEST_F(ChipLoadSafetyTest, CalibratingAsksBeforeItClearsTheMemory) {
    setTextOf(item(kGround), QStringLiteral("300"));
    run(kCalibrate);  // the question unanswered: Cancel
    ASSERT_EQ(choices().size(), 1U);
    EXPECT_TRUE(choices()[0].text.contains("Calibrating erases the altimeter's memory"));
    expectDeviceUntouched();
}

}  // namespace
}  // namespace tevusb::ui::testing
